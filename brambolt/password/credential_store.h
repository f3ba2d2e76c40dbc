// The process-wide credential record and its sealed file "TARNLOCKLIST.DAT": the 268 bytes of the
// record sealed with CryptProtectData for the current user, nothing before or after them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "brambolt/base/file_operations.h"
#include "brambolt/password/credential_record.h"

namespace brambolt {

// The one record of the process and whether it came from a valid file. Used on the user-interface
// thread only.
extern CredentialRecord credentialRecord;
extern bool credentialLoaded;

enum class CredentialRecordLoad {
    kLoaded,
    kNoRecord,    // no file, or one that is not a record of this user (no password is set)
    kUnreadable,  // a file is there but cannot be read (held open, refused): it may hold a password
};

// Start-up: zeroes the record, then fills it and sets loaded when the file opens (without
// sharing), unseals, and holds exactly 268 bytes. The file is read between SetDataFolderAccess 1
// and 0. Reports nothing; the result tells a file that could not be read from one that holds no
// record. Without arguments: credentialRecord and credentialLoaded, from the user's
// "TARNLOCKLIST.DAT".
CredentialRecordLoad LoadCredentialRecord();
CredentialRecordLoad LoadCredentialRecord(const std::wstring& path, CredentialRecord& record,
                                          bool& loaded);

// Zeroes the record's reserved bytes, seals it and replaces the file, between SetDataFolderAccess
// 1 and 0 (not touched at all when sealing fails). The old file stays whole when the new one cannot
// be written, for example while another handle holds it open. True when the file holds the record.
bool SaveCredentialRecord(CredentialRecord& record);
bool SaveCredentialRecord(const std::wstring& path, CredentialRecord& record,
                          FileOperations& operations = SystemFileOperations());

}  // namespace brambolt
