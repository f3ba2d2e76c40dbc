#include "brambolt/password/credential_store.h"

#include <windows.h>

#include <wincrypt.h>

#include <cstring>
#include <span>
#include <vector>

#include "brambolt/folders/file_replace.h"
#include "brambolt/framework/unique_handle.h"

namespace brambolt {

CredentialRecord credentialRecord{};
bool credentialLoaded = false;

namespace {

// Stored inside the sealed blob and never read back.
constexpr wchar_t kSealDescription[] = L"Brambolt credential record";

// The largest sealed record worth reading: a 268-byte record seals to a few hundred bytes.
constexpr LONGLONG kLargestRecordFile = LONGLONG{64} << 10;

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.get(), &size) == FALSE || size.QuadPart < 0 ||
        size.QuadPart > kLargestRecordFile) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                      &read, nullptr) == FALSE ||
                           read != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> Seal(const CredentialRecord& record) {
    DATA_BLOB plain{sizeof record, reinterpret_cast<BYTE*>(const_cast<CredentialRecord*>(&record))};
    DATA_BLOB sealed{};
    if (::CryptProtectData(&plain, kSealDescription, nullptr, nullptr, nullptr, 0, &sealed) ==
        FALSE) {
        return std::nullopt;
    }
    const UniqueHlocal owner(sealed.pbData);
    return std::vector<std::uint8_t>(sealed.pbData, sealed.pbData + sealed.cbData);
}

}  // namespace

bool ReadCredentialRecordFile(const std::wstring& path, CredentialRecord& record) {
    std::optional<std::vector<std::uint8_t>> file = ReadWholeFile(path);
    if (!file) {
        return false;
    }
    DATA_BLOB sealed{static_cast<DWORD>(file->size()), file->data()};
    DATA_BLOB plain{};
    if (::CryptUnprotectData(&sealed, nullptr, nullptr, nullptr, nullptr, 0, &plain) == FALSE) {
        return false;
    }
    const UniqueHlocal owner(plain.pbData);
    // Any other length is not a record of this program, whatever it unseals to.
    if (plain.cbData != sizeof record) {
        return false;
    }
    std::memcpy(&record, plain.pbData, sizeof record);
    return true;
}

void LoadCredentialRecord(const CredentialStoreEnvironment& environment, CredentialRecord& record,
                          bool& loaded) {
    record = CredentialRecord{};
    loaded = false;
    const std::optional<std::wstring> path = environment.recordPath();
    if (!path) {
        return;
    }
    // The access switch only matters while the driver runs; without it the file is reachable.
    environment.setDataFolderAccess(1);
    CredentialRecord read{};
    if (ReadCredentialRecordFile(*path, read)) {
        record = read;
        loaded = true;
    }
    environment.setDataFolderAccess(0);
}

bool SaveCredentialRecord(const CredentialStoreEnvironment& environment, CredentialRecord& record,
                          FileOperations& operations) {
    std::memset(record.reserved, 0, sizeof record.reserved);
    const std::optional<std::wstring> path = environment.recordPath();
    if (!path) {
        return false;
    }
    const std::optional<std::vector<std::uint8_t>> sealed = Seal(record);
    if (!sealed) {
        return false;
    }
    environment.setDataFolderAccess(1);
    const bool saved = ReplaceFileContents(*path, *sealed, operations);
    environment.setDataFolderAccess(0);
    return saved;
}

}  // namespace brambolt
