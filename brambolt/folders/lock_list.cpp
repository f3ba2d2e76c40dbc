#include "brambolt/folders/lock_list.h"

#include <utility>

namespace brambolt {

void LockList::Append(std::u16string entry) {
    entries_.push_back(std::move(entry));
    ++version_;
}

bool LockList::RemoveAt(std::size_t index) {
    if (index >= entries_.size()) {
        return false;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    ++version_;
    return true;
}

void LockList::Replace(LockListEntries entries) {
    entries_ = std::move(entries);
    ++version_;
}

LockList& TheLockList() {
    static LockList list;
    return list;
}

}  // namespace brambolt
