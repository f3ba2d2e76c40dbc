// The SID read, its cache and the per-user names, against Wine's real tokens, registry and
// folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

#include <array>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/driver/user_names_internal.h"

namespace brambolt {
namespace {

// The SID of the logged-on account, found through its name rather than the process token.
std::wstring SidOfAccount() {
    std::array<wchar_t, 256> user{};
    DWORD userLength = static_cast<DWORD>(user.size());
    if (::GetUserNameW(user.data(), &userLength) == FALSE) {
        return {};
    }
    std::array<BYTE, SECURITY_MAX_SID_SIZE> sid{};
    DWORD sidSize = static_cast<DWORD>(sid.size());
    std::array<wchar_t, 256> domain{};
    DWORD domainLength = static_cast<DWORD>(domain.size());
    SID_NAME_USE use{};
    if (::LookupAccountNameW(nullptr, user.data(), sid.data(), &sidSize, domain.data(),
                             &domainLength, &use) == FALSE) {
        return {};
    }
    LPWSTR text = nullptr;
    if (::ConvertSidToStringSidW(sid.data(), &text) == FALSE) {
        return {};
    }
    const UniqueHlocal owned(text);
    return text;
}

std::wstring LocalAppData() {
    std::array<wchar_t, MAX_PATH> folder{};
    ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder.data());
    return folder.data();
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The first test of this program: nothing has read the SID before it.
TEST(UserSid, ConcurrentFirstCallsReadTheTokenOnceAndAgree) {
    ASSERT_EQ(internal::SidTokenReadCount(), 0U);
    constexpr int kThreads = 8;
    std::vector<std::wstring> results(kThreads);
    std::vector<bool> succeeded(kThreads, false);
    {
        std::vector<std::jthread> threads;
        threads.reserve(kThreads);
        for (int i = 0; i < kThreads; ++i) {
            threads.emplace_back([&, i] {
                std::wstring sid;
                succeeded[i] = GetUserSidString(sid);
                results[i] = sid;
            });
        }
    }
    EXPECT_EQ(internal::SidTokenReadCount(), 1U);
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_TRUE(succeeded[i]);
        EXPECT_EQ(results[i], results[0]);
    }
}

TEST(UserSid, IsTheSidOfTheLoggedOnAccount) {
    std::wstring sid = L"left as it was";
    ASSERT_TRUE(GetUserSidString(sid));
    const std::wstring expected = SidOfAccount();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(sid, expected);
    EXPECT_EQ(sid.rfind(L"S-1-5-21-", 0), 0U) << "an ordinary account's SID";
}

TEST(UserSid, LaterCallsUseTheCacheWithoutTheToken) {
    std::wstring first;
    ASSERT_TRUE(GetUserSidString(first));
    const std::size_t reads = internal::SidTokenReadCount();
    for (int i = 0; i < 5; ++i) {
        std::wstring again;
        ASSERT_TRUE(GetUserSidString(again));
        EXPECT_EQ(again, first);
    }
    EXPECT_EQ(internal::SidTokenReadCount(), reads);
}

TEST(DriverNames, AreFormedFromTheUsersSid) {
    std::wstring sid;
    ASSERT_TRUE(GetUserSidString(sid));
    EXPECT_EQ(GetDriverServiceName(), L"TARNBRT_" + sid);
    EXPECT_EQ(GetDriverDevicePath(), L"\\\\.\\TARNBRT_" + sid);
}

class DataFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GetUserSidString(sid_));
        folder_ = LocalAppData() + L"\\TARNBRT_" + sid_;
        ::DeleteFileW((folder_ + L"\\TARNLOCKLIST.INI").c_str());
        ::DeleteFileW((folder_ + L"\\TARNLOCKLIST.DAT").c_str());
        ::RemoveDirectoryW(folder_.c_str());
        ASSERT_FALSE(FolderExists(folder_));
    }

    std::wstring sid_;
    std::wstring folder_;
};

TEST_F(DataFolder, LockListPathCreatesTheMissingFolder) {
    const auto path = GetLockListPath();
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, folder_ + L"\\TARNLOCKLIST.INI");
    EXPECT_TRUE(FolderExists(folder_));
}

TEST_F(DataFolder, ExistingFolderIsAcceptedAndKeepsItsFiles) {
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
    const std::wstring kept = folder_ + L"\\TARNLOCKLIST.INI";
    {
        const UniqueFile file(::CreateFileW(kept.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.valid());
    }
    EXPECT_EQ(GetLockListPath(), kept);
    EXPECT_EQ(GetLockListPath(), kept);
    EXPECT_NE(::GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DataFolder, CredentialRecordLiesBesideTheLockList) {
    const auto path = GetCredentialRecordPath();
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, folder_ + L"\\TARNLOCKLIST.DAT");
    EXPECT_TRUE(FolderExists(folder_));
}

// The local application-data folder moved somewhere so deep that the lock list's path would not
// fit in MAX_PATH: both paths are refused and no folder is created.
class DeepLocalAppData : public ::testing::Test {
  protected:
    static constexpr wchar_t kShellFolders[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static constexpr wchar_t kLocalAppData[] = L"Local AppData";

    void SetUp() override {
        original_ = ReadShellFolder();
        ASSERT_TRUE(original_.has_value());
        // C:\deep\aaaa...: 230 characters, creatable (below 248) but too deep for the files.
        deep_ = L"C:\\deep";
        ::CreateDirectoryW(deep_.c_str(), nullptr);
        deep_ += L"\\" + std::wstring(230 - deep_.size() - 1, L'a');
        ASSERT_EQ(deep_.size(), 230U);
        ::CreateDirectoryW(deep_.c_str(), nullptr);
        ASSERT_TRUE(FolderExists(deep_));
        WriteShellFolder(deep_);
        if (LocalAppData() != deep_) {
            WriteShellFolder(*original_);
            GTEST_SKIP() << "this system does not follow the moved folder at once";
        }
    }

    void TearDown() override {
        if (original_.has_value()) {
            WriteShellFolder(*original_);
        }
        std::wstring sid;
        if (GetUserSidString(sid)) {
            ::RemoveDirectoryW((deep_ + L"\\TARNBRT_" + sid).c_str());
        }
        ::RemoveDirectoryW(deep_.c_str());
        ::RemoveDirectoryW(L"C:\\deep");
    }

    static std::optional<std::wstring> ReadShellFolder() {
        std::array<wchar_t, 1024> value{};
        DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (::RegGetValueW(HKEY_CURRENT_USER, kShellFolders, kLocalAppData,
                           RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                           value.data(), &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return std::wstring(value.data());
    }

    static void WriteShellFolder(const std::wstring& value) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kShellFolders, kLocalAppData, REG_EXPAND_SZ,
                          value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    std::optional<std::wstring> original_;
    std::wstring deep_;
};

TEST_F(DeepLocalAppData, PathsThatWouldNotFitAreRefusedAndNothingIsCreated) {
    std::wstring sid;
    ASSERT_TRUE(GetUserSidString(sid));
    EXPECT_EQ(GetLockListPath(), std::nullopt);
    EXPECT_EQ(GetCredentialRecordPath(), std::nullopt);
    EXPECT_FALSE(FolderExists(deep_ + L"\\TARNBRT_" + sid));
}

}  // namespace
}  // namespace brambolt
