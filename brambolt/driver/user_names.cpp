#include "brambolt/driver/user_names.h"

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

#include <array>
#include <atomic>
#include <new>
#include <vector>

#include "brambolt/base/private_folder.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/name_rules.h"

namespace brambolt {

namespace {

// The SID cache and its lock: constructed before the program's start-up runs, deleted at exit.
class SidCache {
  public:
    SidCache() noexcept { ::InitializeCriticalSectionAndSpinCount(&lock_, 0); }
    SidCache(const SidCache&) = delete;
    SidCache& operator=(const SidCache&) = delete;
    ~SidCache() { ::DeleteCriticalSection(&lock_); }

    class Hold {
      public:
        explicit Hold(SidCache& cache) noexcept : cache_(cache) {
            ::EnterCriticalSection(&cache_.lock_);
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold() { ::LeaveCriticalSection(&cache_.lock_); }

      private:
        SidCache& cache_;
    };

    std::wstring value;  // guarded by the lock

  private:
    CRITICAL_SECTION lock_{};
};

SidCache g_sidCache;
std::atomic<std::size_t> g_tokenReads{0};

std::optional<std::wstring> ReadSidFromToken() {
    g_tokenReads.fetch_add(1, std::memory_order_relaxed);
    UniqueHandle token;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()) == FALSE) {
        return std::nullopt;
    }
    DWORD size = 0;
    if (::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size) != FALSE ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return std::nullopt;
    }
    std::vector<std::byte> buffer;
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) == FALSE) {
        return std::nullopt;
    }
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    UniqueHlocal converted;
    LPWSTR text = nullptr;
    if (::ConvertSidToStringSidW(user->User.Sid, &text) == FALSE) {
        return std::nullopt;
    }
    converted.reset(text);
    return std::wstring(text);
}

std::optional<std::wstring> CurrentSid() {
    std::wstring sid;
    if (!GetUserSidString(sid)) {
        return std::nullopt;
    }
    return sid;
}

std::optional<std::u16string> OptionalUtf16(const std::optional<std::wstring>& text) {
    if (!text.has_value()) {
        return std::nullopt;
    }
    return ToUtf16(*text);
}

std::optional<std::u16string> LocalAppDataFolder() {
    std::array<wchar_t, MAX_PATH> folder{};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                  folder.data()))) {
        return std::nullopt;
    }
    return ToUtf16(folder.data());
}

std::optional<std::u16string> WindowsFolder() {
    std::array<wchar_t, MAX_PATH> folder{};
    const UINT length = ::GetWindowsDirectoryW(folder.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::nullopt;
    }
    return ToUtf16(std::wstring_view(folder.data(), length));
}

std::optional<std::u16string> DataFolder() {
    // A failure to find the local application-data folder counts as a failure of the path,
    // rather than a folder at the root of the current drive.
    const std::optional<std::u16string> localAppData = LocalAppDataFolder();
    const std::optional<std::wstring> sid = CurrentSid();
    if (sid.has_value()) {
        if (!localAppData.has_value()) {
            return std::nullopt;
        }
        return UserDataFolder(*localAppData, ToUtf16(*sid));
    }
    const std::optional<std::u16string> windows = WindowsFolder();
    if (!windows.has_value()) {
        return std::nullopt;
    }
    return NoSidDataFolder(*windows);
}

}  // namespace

bool GetUserSidString(std::wstring& sid) {
    const SidCache::Hold hold(g_sidCache);
    if (!g_sidCache.value.empty()) {
        sid = g_sidCache.value;
        return true;
    }
    std::optional<std::wstring> read = ReadSidFromToken();
    if (!read.has_value() || read->empty()) {
        return false;
    }
    g_sidCache.value = *read;
    sid = std::move(*read);
    return true;
}

std::wstring GetDriverServiceName() {
    return ToWide(ServiceNameFor(OptionalUtf16(CurrentSid())));
}

std::wstring GetDriverDevicePath() {
    return ToWide(DevicePathFor(OptionalUtf16(CurrentSid())));
}

std::optional<std::wstring> GetLockListPath() {
    const std::optional<std::u16string> folder = DataFolder();
    if (!folder.has_value()) {
        return std::nullopt;
    }
    const std::optional<std::u16string> path = LockListPathIn(*folder);
    if (!path.has_value()) {
        return std::nullopt;
    }
    // Usually the folder exists already; only its last level is ever created. Found or made, it
    // is the elevated program's own before anything in it is read or written.
    if (!PreparePrivateFolder(ToWide(*folder))) {
        return std::nullopt;
    }
    return ToWide(*path);
}

std::optional<std::wstring> GetWebViewDataFolder() {
    const std::optional<std::u16string> folder = DataFolder();
    if (!folder.has_value()) {
        return std::nullopt;
    }
    const std::wstring beside = ToWide(*folder) + L".WebView2";
    if (beside.size() >= MAX_PATH || !PreparePrivateFolder(beside)) {
        return std::nullopt;
    }
    return beside;
}

std::optional<std::wstring> GetCredentialRecordPath() {
    const std::optional<std::wstring> lockList = GetLockListPath();
    if (!lockList.has_value()) {
        return std::nullopt;
    }
    const std::optional<std::u16string> path = CredentialRecordPathBeside(ToUtf16(*lockList));
    if (!path.has_value()) {
        return std::nullopt;
    }
    return ToWide(*path);
}

namespace internal {
std::size_t SidTokenReadCount() noexcept {
    return g_tokenReads.load(std::memory_order_relaxed);
}
}  // namespace internal

}  // namespace brambolt
