#include "brambolt/password/credential_store.h"

#include <windows.h>

#include <wincrypt.h>

#include <cstring>
#include <span>
#include <vector>

#include "brambolt/base/file_replace.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/base/whole_file.h"
#include "brambolt/driver/data_folder_access.h"
#include "brambolt/driver/user_names.h"

namespace brambolt {

CredentialRecord credentialRecord{};
bool credentialLoaded = false;

namespace {

// Stored inside the sealed blob and never read back.
constexpr wchar_t kSealDescription[] = L"Brambolt credential record";

// The largest sealed record worth reading: a 268-byte record seals to a few hundred bytes.
constexpr std::uint64_t kLargestRecordFile = std::uint64_t{64} << 10U;

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

// The record of a sealed file, when it opens, unseals and holds exactly a record.
bool ReadCredentialRecordFile(const std::wstring& path, CredentialRecord& record) {
    std::optional<std::vector<std::uint8_t>> file = ReadWholeFile(path, kLargestRecordFile);
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

}  // namespace

void LoadCredentialRecord(const std::wstring& path, CredentialRecord& record, bool& loaded) {
    record = CredentialRecord{};
    loaded = false;
    CredentialRecord read{};
    {
        const DataFolderAccess access;
        loaded = ReadCredentialRecordFile(path, read);
    }
    if (loaded) {
        record = read;
    }
}

void LoadCredentialRecord() {
    credentialRecord = CredentialRecord{};
    credentialLoaded = false;
    if (const std::optional<std::wstring> path = GetCredentialRecordPath()) {
        LoadCredentialRecord(*path, credentialRecord, credentialLoaded);
    }
}

bool SaveCredentialRecord(const std::wstring& path, CredentialRecord& record,
                          FileOperations& operations) {
    std::memset(record.reserved, 0, sizeof record.reserved);
    const std::optional<std::vector<std::uint8_t>> sealed = Seal(record);
    if (!sealed) {
        return false;
    }
    const DataFolderAccess access;
    return ReplaceFileContents(path, *sealed, operations);
}

bool SaveCredentialRecord(CredentialRecord& record) {
    const std::optional<std::wstring> path = GetCredentialRecordPath();
    if (!path) {
        std::memset(record.reserved, 0, sizeof record.reserved);
        return false;
    }
    return SaveCredentialRecord(*path, record);
}

}  // namespace brambolt
