#include "brambolt/base/tests/test_folder.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>

#include "brambolt/base/unique_handle.h"

namespace brambolt::testing {
namespace {

std::atomic<unsigned> folderCount{0};

}  // namespace

TestFolder::TestFolder() {
    std::array<wchar_t, MAX_PATH + 1> temp{};
    ::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
    path_ = std::wstring(temp.data()) + L"brambolt-test-" +
            std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(folderCount++);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TestFolder::~TestFolder() {
    for (const std::wstring& name : FileNames()) {
        ::DeleteFileW(File(name).c_str());
    }
    ::RemoveDirectoryW(path_.c_str());
}

std::vector<std::wstring> TestFolder::FileNames() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(search, &found) != FALSE);
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::wstring& path) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(::GetFileSize(file.get(), nullptr));
    DWORD read = 0;
    if (!bytes.empty() && ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                     &read, nullptr) == FALSE) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    return bytes.empty() || (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                         &written, nullptr) != FALSE &&
                             written == bytes.size());
}

}  // namespace brambolt::testing
