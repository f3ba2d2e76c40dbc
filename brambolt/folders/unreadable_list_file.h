// A lock list file that the program could not read whole is never replaced or deleted unseen:
// before the first save or delete it is moved aside, beside itself under a name of its own, so the
// folders it names are not lost to a list the user never saw.
#pragma once

#include <mutex>
#include <optional>
#include <string>

namespace brambolt {

class UnreadableListFile {
  public:
    // The file on the list's path could not be read whole: keep it before the next change.
    void Found();
    // True when the file may now be replaced or deleted: nothing unreadable was found, or it has
    // been moved aside, or it is gone. False while it is still in place (held open by another
    // process, or the move failed); the caller then leaves the file alone.
    bool KeepAside(const std::wstring& listPath);
    // True while a file found unreadable is still to be kept aside.
    [[nodiscard]] bool Pending() const;
    // The path it was kept under, once moved.
    [[nodiscard]] std::optional<std::wstring> KeptPath() const;

  private:
    mutable std::mutex mutex_;
    bool pending_ = false;
    std::optional<std::wstring> keptPath_;
};

// The one of the program, for "TARNLOCKLIST.INI".
[[nodiscard]] UnreadableListFile& TheUnreadableListFile();

// listPath with ".unreadable-YYYYMMDD-HHMMSS" appended, and "-N" from the second try on.
[[nodiscard]] std::wstring KeptListPath(const std::wstring& listPath, int attempt);

}  // namespace brambolt
