// The process-wide lock list: the protected folders in the order they were added or read. The
// user-interface thread changes it; commit threads save snapshots of it while the next edit may
// already be under way, so every access goes through one lock and every edit gets a new version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "brambolt/folders/lock_list_codec.h"

namespace brambolt {

// The list as it stood after one edit. Versions grow with every change, so a save can tell an
// older snapshot from a newer one.
struct LockListSnapshot {
    std::uint64_t version = 0;
    LockListEntries entries;
};

class LockList {
  public:
    [[nodiscard]] LockListSnapshot Snapshot() const;
    [[nodiscard]] LockListEntries Entries() const;
    [[nodiscard]] std::size_t Count() const;

    // No count limit and no duplicate check here: the Add command owns the limit of ten.
    void Append(std::u16string entry);
    // False when index names no entry; the list is then unchanged.
    bool RemoveAt(std::size_t index);
    void Replace(LockListEntries entries);

  private:
    mutable std::mutex mutex_;
    LockListEntries entries_;
    std::uint64_t version_ = 0;
};

// The one list of the process, empty at start.
[[nodiscard]] LockList& TheLockList();

}  // namespace brambolt
