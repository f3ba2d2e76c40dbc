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

// The record that sealed bytes hold, when they unseal to exactly a record.
bool UnsealCredentialRecord(std::vector<std::uint8_t>& file, CredentialRecord& record) {
    DATA_BLOB sealed{static_cast<DWORD>(file.size()), file.data()};
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

// The record of a sealed file, when it opens, unseals and holds exactly a record.
CredentialRecordLoad ReadCredentialRecordFile(const std::wstring& path, CredentialRecord& record) {
    WholeFileRead file = ReadWholeFileWithStatus(path, kLargestRecordFile);
    switch (file.status) {
        case WholeFileStatus::kMissing:
        case WholeFileStatus::kTooLarge:  // read or not, no sealed record is that large
            return CredentialRecordLoad::kNoRecord;
        case WholeFileStatus::kNotOpened:
        case WholeFileStatus::kReadFailed:
            return CredentialRecordLoad::kUnreadable;
        case WholeFileStatus::kRead:
            break;
    }
    return UnsealCredentialRecord(file.bytes, record) ? CredentialRecordLoad::kLoaded
                                                      : CredentialRecordLoad::kNoRecord;
}

}  // namespace

CredentialRecordLoad LoadCredentialRecord(const std::wstring& path, CredentialRecord& record,
                                          bool& loaded) {
    record = CredentialRecord{};
    loaded = false;
    CredentialRecord read{};
    CredentialRecordLoad result = CredentialRecordLoad::kNoRecord;
    {
        const DataFolderAccess access;
        result = ReadCredentialRecordFile(path, read);
    }
    if (result == CredentialRecordLoad::kLoaded) {
        record = read;
        loaded = true;
    }
    return result;
}

CredentialRecordLoad LoadCredentialRecord() {
    credentialRecord = CredentialRecord{};
    credentialLoaded = false;
    const std::optional<std::wstring> path = GetCredentialRecordPath();
    if (!path) {
        return CredentialRecordLoad::kNoRecord;
    }
    return LoadCredentialRecord(*path, credentialRecord, credentialLoaded);
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
