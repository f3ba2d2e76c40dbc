#include "brambolt/base/whole_file.h"

#include <windows.h>

#include "brambolt/base/unique_handle.h"

namespace brambolt {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                       std::uint64_t largestSize) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.get(), &size) == FALSE || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > largestSize) {
        return std::vector<std::uint8_t>{};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &read, nullptr) == FALSE ||
            read == 0) {
            return std::vector<std::uint8_t>{};
        }
        done += read;
    }
    return bytes;
}

}  // namespace brambolt
