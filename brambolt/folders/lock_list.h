// The process-wide lock list: the protected folders in the order they were added or read. It
// belongs to the user-interface thread; work on another thread gets a snapshot. Every edit gives
// the list a new version, so that a save can tell an older snapshot from a newer one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "brambolt/folders/lock_list_codec.h"

namespace brambolt {

// The list as it stood after one edit.
struct LockListSnapshot {
    std::uint64_t version = 0;
    LockListEntries entries;
};

class LockList {
  public:
    [[nodiscard]] LockListSnapshot Snapshot() const { return {version_, entries_}; }
    [[nodiscard]] const LockListEntries& Entries() const noexcept { return entries_; }
    [[nodiscard]] std::size_t Count() const noexcept { return entries_.size(); }

    // No count limit and no duplicate check here: the Add command owns the limit of ten.
    void Append(std::u16string entry);
    // False when index names no entry; the list is then unchanged.
    bool RemoveAt(std::size_t index);
    void Replace(LockListEntries entries);

  private:
    LockListEntries entries_;
    std::uint64_t version_ = 0;
};

// The one list of the process, empty at start.
[[nodiscard]] LockList& TheLockList();

}  // namespace brambolt
