#include "brambolt/base/whole_file.h"

#include <windows.h>

#include <utility>

#include "brambolt/base/unique_handle.h"

namespace brambolt {
namespace {

// Why an open failed: gone, a folder where the file would be, or there and refused.
WholeFileStatus OpenFailure(const std::wstring& path, DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        return WholeFileStatus::kMissing;
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return WholeFileStatus::kMissing;
    }
    return WholeFileStatus::kNotOpened;
}

}  // namespace

WholeFileRead ReadWholeFileWithStatus(const std::wstring& path, std::uint64_t largestSize) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {OpenFailure(path, ::GetLastError()), {}};
    }
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.get(), &size) == FALSE || size.QuadPart < 0) {
        return {WholeFileStatus::kReadFailed, {}};
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > largestSize) {
        return {WholeFileStatus::kTooLarge, {}};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &read, nullptr) == FALSE ||
            read == 0) {
            return {WholeFileStatus::kReadFailed, {}};
        }
        done += read;
    }
    return {WholeFileStatus::kRead, std::move(bytes)};
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                       std::uint64_t largestSize) {
    WholeFileRead read = ReadWholeFileWithStatus(path, largestSize);
    switch (read.status) {
        case WholeFileStatus::kRead:
            return std::move(read.bytes);
        case WholeFileStatus::kMissing:
        case WholeFileStatus::kNotOpened:
            return std::nullopt;
        case WholeFileStatus::kTooLarge:
        case WholeFileStatus::kReadFailed:
            break;
    }
    return std::vector<std::uint8_t>{};
}

}  // namespace brambolt
