#include "brambolt/folders/lock_list.h"

#include <utility>

namespace brambolt {

LockListSnapshot LockList::Snapshot() const {
    const std::scoped_lock lock(mutex_);
    return LockListSnapshot{version_, entries_};
}

LockListEntries LockList::Entries() const {
    const std::scoped_lock lock(mutex_);
    return entries_;
}

std::size_t LockList::Count() const {
    const std::scoped_lock lock(mutex_);
    return entries_.size();
}

void LockList::Append(std::u16string entry) {
    const std::scoped_lock lock(mutex_);
    entries_.push_back(std::move(entry));
    ++version_;
}

bool LockList::RemoveAt(std::size_t index) {
    const std::scoped_lock lock(mutex_);
    if (index >= entries_.size()) {
        return false;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    ++version_;
    return true;
}

void LockList::Replace(LockListEntries entries) {
    const std::scoped_lock lock(mutex_);
    entries_ = std::move(entries);
    ++version_;
}

LockList& TheLockList() {
    static LockList list;
    return list;
}

}  // namespace brambolt
