#include "brambolt/base/file_replace.h"

#include <array>
#include <cwchar>
#include <cwctype>
#include <random>
#include <string_view>

#include "brambolt/base/unique_handle.h"

namespace brambolt {
namespace {

// Fresh temporary names: a name taken by anything (a file, or a link planted to steer the save)
// is passed over for the next one.
constexpr int kTemporaryNameAttempts = 16;
constexpr std::size_t kTemporaryNameDigits = 16;
constexpr std::wstring_view kTemporarySuffix = L".tmp";
// What a temporary name adds to the target's: the dot, the digits and the suffix.
constexpr std::size_t kTemporaryNameAddition = 1 + kTemporaryNameDigits + kTemporarySuffix.size();

// "<target>.<16 hex digits>.tmp", the digits from the system's random source.
std::wstring FreshTemporaryPath(const std::wstring& target) {
    std::random_device source;  // one per call: saves run on more than one thread
    const std::uint64_t value = (std::uint64_t{source()} << 32U) | source();
    std::array<wchar_t, kTemporaryNameDigits + 1> digits{};
    std::swprintf(digits.data(), digits.size(), L"%016llX", static_cast<unsigned long long>(value));
    std::wstring path = target + L"." + digits.data();
    path += kTemporarySuffix;
    return path;
}

bool IsTemporaryNameOf(std::wstring_view name, std::wstring_view targetName) {
    const std::size_t length = targetName.size() + kTemporaryNameAddition;
    if (name.size() != length || name.substr(0, targetName.size()) != targetName ||
        name[targetName.size()] != L'.' || !name.ends_with(kTemporarySuffix)) {
        return false;
    }
    for (const wchar_t digit : name.substr(targetName.size() + 1, kTemporaryNameDigits)) {
        if (std::iswxdigit(digit) == 0) {
            return false;
        }
    }
    return true;
}

// Temporary files that an interrupted save left beside the target; removed (as names, never
// followed) once a save has succeeded, so they do not pile up.
void RemoveLeftTemporaryFiles(const std::wstring& target, FileOperations& operations) {
    const std::size_t slash = target.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring targetName = target.substr(folder.size());
    WIN32_FIND_DATAW found{};
    const UniqueFindHandle search(::FindFirstFileW((target + L".*.tmp").c_str(), &found));
    if (!search) {
        return;
    }
    do {
        if (IsTemporaryNameOf(found.cFileName, targetName)) {
            // A file that stays is tried again after the next save.
            operations.Remove((folder + found.cFileName).c_str());
        }
    } while (::FindNextFileW(search.get(), &found) != FALSE);
}

// True when nobody holds the target open, or it does not exist yet.
bool TargetIsFree(const std::wstring& target, FileOperations& operations) {
    OpenedFile probe =
        operations.Open(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    if (probe.valid()) {
        return probe.Close();
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND;
}

// A new file under a fresh name beside the target, created here (never an existing file or a
// link's target); its path in temporary.
OpenedFile CreateTemporaryFile(const std::wstring& target, std::wstring& temporary,
                               FileOperations& operations) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = FreshTemporaryPath(target);
        OpenedFile file = operations.Open(temporary.c_str(), GENERIC_WRITE, 0, CREATE_NEW);
        const DWORD error = ::GetLastError();
        if (file.valid() || (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) {
            return file;
        }
    }
    return {operations, INVALID_HANDLE_VALUE};
}

bool WriteWhole(OpenedFile& file, std::span<const std::uint8_t> bytes, FileOperations& operations) {
    if (!bytes.empty() &&
        !operations.Write(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()))) {
        return false;
    }
    return operations.Flush(file.get()) && file.Close();
}

}  // namespace

bool ReplaceFileContents(const std::wstring& target, std::span<const std::uint8_t> bytes,
                         FileOperations& operations) {
    if (target.size() + kTemporaryNameAddition >= MAX_PATH || bytes.size() > MAXDWORD) {
        return false;
    }
    if (!TargetIsFree(target, operations)) {
        return false;
    }
    std::wstring temporary;
    OpenedFile file = CreateTemporaryFile(target, temporary, operations);
    if (!file.valid()) {
        return false;
    }
    if (WriteWhole(file, bytes, operations) &&
        operations.Replace(temporary.c_str(), target.c_str())) {
        RemoveLeftTemporaryFiles(target, operations);
        return true;
    }
    // A failed write or move must not leave its temporary file in the data folder. The result is
    // not needed: a file that stays is removed after the next save.
    file.Close();
    operations.Remove(temporary.c_str());
    return false;
}

}  // namespace brambolt
