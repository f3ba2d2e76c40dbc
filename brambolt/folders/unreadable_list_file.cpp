#include "brambolt/folders/unreadable_list_file.h"

#include <windows.h>

#include <array>
#include <cwchar>

namespace brambolt {
namespace {

// More tries than files that could ever be kept within one second.
constexpr int kNamingAttempts = 100;

}  // namespace

std::wstring KeptListPath(const std::wstring& listPath, int attempt) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    std::array<wchar_t, 48> suffix{};
    std::swprintf(suffix.data(), suffix.size(), L".unreadable-%04u%02u%02u-%02u%02u%02u", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    std::wstring kept = listPath + suffix.data();
    if (attempt > 0) {
        kept += L"-" + std::to_wstring(attempt + 1);
    }
    return kept;
}

void UnreadableListFile::Found() {
    const std::scoped_lock lock(mutex_);
    pending_ = true;
}

bool UnreadableListFile::KeepAside(const std::wstring& listPath) {
    const std::scoped_lock lock(mutex_);
    if (!pending_) {
        return true;
    }
    for (int attempt = 0; attempt < kNamingAttempts; ++attempt) {
        const std::wstring kept = KeptListPath(listPath, attempt);
        if (kept.size() >= MAX_PATH) {
            return false;
        }
        // No replacing: an older kept file keeps its name.
        if (::MoveFileExW(listPath.c_str(), kept.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE) {
            pending_ = false;
            keptPath_ = kept;
            return true;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            // Gone meanwhile: nothing is left to lose.
            pending_ = false;
            return true;
        }
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return false;
}

bool UnreadableListFile::Pending() const {
    const std::scoped_lock lock(mutex_);
    return pending_;
}

std::optional<std::wstring> UnreadableListFile::KeptPath() const {
    const std::scoped_lock lock(mutex_);
    return keptPath_;
}

UnreadableListFile& TheUnreadableListFile() {
    static UnreadableListFile file;
    return file;
}

}  // namespace brambolt
