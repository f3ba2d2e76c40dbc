#include <gtest/gtest.h>

#include <windows.h>

#include <wincrypt.h>

#include <cstring>
#include <string>
#include <vector>

#include "brambolt/base/tests/faulty_file_operations.h"
#include "brambolt/base/tests/test_folder.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/tests/recording_port.h"
#include "brambolt/password/credential_store.h"

namespace brambolt {
namespace {

using testing::FaultyFileOperations;
using testing::ReadFileBytes;
using testing::RecordingPort;
using testing::ScopedDriverPort;
using testing::TestFolder;
using testing::WriteFileBytes;

constexpr wchar_t kRecordName[] = L"TARNLOCKLIST.DAT";

// A fresh test folder for the record, and a recording port in place of a driver that refuses
// every request: the file work must not depend on it, and the access switch is recorded.
struct FakeDataFolder {
    TestFolder folder;
    RecordingPort port;
    ScopedDriverPort installed{port};

    FakeDataFolder() { port.answers = false; }
    [[nodiscard]] std::wstring RecordPath() const { return folder.File(kRecordName); }
    // The driver requests made so far, without their opens and closes.
    std::vector<std::string> AccessRequests() {
        std::vector<std::string> requests;
        for (const std::string& request : port.Requests()) {
            if (request != "open" && request != "close") {
                requests.push_back(request);
            }
        }
        port.Clear();
        return requests;
    }
};

std::vector<std::uint8_t> Seal(const std::vector<std::uint8_t>& plain) {
    DATA_BLOB in{static_cast<DWORD>(plain.size()), const_cast<BYTE*>(plain.data())};
    DATA_BLOB out{};
    EXPECT_TRUE(::CryptProtectData(&in, L"test", nullptr, nullptr, nullptr, 0, &out));
    const UniqueHlocal owner(out.pbData);
    return {out.pbData, out.pbData + out.cbData};
}

std::vector<std::uint8_t> Unseal(const std::vector<std::uint8_t>& sealed) {
    DATA_BLOB in{static_cast<DWORD>(sealed.size()), const_cast<BYTE*>(sealed.data())};
    DATA_BLOB out{};
    if (!::CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, 0, &out)) {
        return {};
    }
    const UniqueHlocal owner(out.pbData);
    return {out.pbData, out.pbData + out.cbData};
}

CredentialRecord SampleRecord() {
    CredentialRecord record{};
    SetFieldText(record.passwordHash,
                 u"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    SetFieldText(record.openid, u"oWx-0123456789abcdef");
    return record;
}

std::vector<std::uint8_t> BytesOf(const CredentialRecord& record) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    return {bytes, bytes + sizeof record};
}

TEST(CredentialStore, ASavedRecordLoadsBackByteForByte) {
    FakeDataFolder data;
    CredentialRecord saved = SampleRecord();
    ASSERT_TRUE(SaveCredentialRecord(data.RecordPath(), saved));

    CredentialRecord loaded{};
    bool loadedFlag = false;
    LoadCredentialRecord(data.RecordPath(), loaded, loadedFlag);
    EXPECT_TRUE(loadedFlag);
    EXPECT_EQ(BytesOf(loaded), BytesOf(saved));
    EXPECT_TRUE(HasPassword(loaded, loadedFlag));
}

TEST(CredentialStore, TheFileHoldsTheSealedRecordAndNothingElse) {
    FakeDataFolder data;
    CredentialRecord record = SampleRecord();
    ASSERT_TRUE(SaveCredentialRecord(data.RecordPath(), record));
    const std::optional<std::vector<std::uint8_t>> file = ReadFileBytes(data.RecordPath());
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(Unseal(*file), BytesOf(record));
    EXPECT_EQ(data.folder.FileNames(), std::vector<std::wstring>{kRecordName});
}

TEST(CredentialStore, FileWorkIsBracketedByDataFolderAccess) {
    FakeDataFolder data;
    const std::vector<std::string> bracket = {"data access 1", "data access 0"};
    CredentialRecord record = SampleRecord();
    ASSERT_TRUE(SaveCredentialRecord(data.RecordPath(), record));
    EXPECT_EQ(data.AccessRequests(), bracket);

    bool loaded = false;
    LoadCredentialRecord(data.RecordPath(), record, loaded);
    EXPECT_EQ(data.AccessRequests(), bracket);

    ::DeleteFileW(data.RecordPath().c_str());
    LoadCredentialRecord(data.RecordPath(), record, loaded);  // no file: closed again all the same
    EXPECT_EQ(data.AccessRequests(), bracket);
}

TEST(CredentialStore, PlaintextsOfAnyOtherSizeAreRefused) {
    for (const std::size_t size : {std::size_t{267}, std::size_t{269}, std::size_t{1}}) {
        FakeDataFolder data;
        std::vector<std::uint8_t> plain(size, 0x41);
        ASSERT_TRUE(WriteFileBytes(data.RecordPath(), Seal(plain)));
        CredentialRecord record = SampleRecord();
        bool loaded = true;
        LoadCredentialRecord(data.RecordPath(), record, loaded);
        EXPECT_FALSE(loaded) << size;
        EXPECT_EQ(BytesOf(record), BytesOf(CredentialRecord{})) << size;
    }
}

TEST(CredentialStore, ACorruptOrMissingFileLoadsNothing) {
    FakeDataFolder data;
    CredentialRecord record = SampleRecord();
    ASSERT_TRUE(SaveCredentialRecord(data.RecordPath(), record));
    std::vector<std::uint8_t> file = *ReadFileBytes(data.RecordPath());
    file[file.size() / 2] ^= 0x5A;
    ASSERT_TRUE(WriteFileBytes(data.RecordPath(), file));

    bool loaded = true;
    LoadCredentialRecord(data.RecordPath(), record, loaded);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(BytesOf(record), BytesOf(CredentialRecord{}));

    ::DeleteFileW(data.RecordPath().c_str());
    record = SampleRecord();
    LoadCredentialRecord(data.RecordPath(), record, loaded);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(BytesOf(record), BytesOf(CredentialRecord{}));
}

TEST(CredentialStore, AFileHeldOpenLoadsNothing) {
    FakeDataFolder data;
    CredentialRecord record = SampleRecord();
    ASSERT_TRUE(SaveCredentialRecord(data.RecordPath(), record));
    const UniqueFile holder(::CreateFileW(data.RecordPath().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    bool loaded = true;
    LoadCredentialRecord(data.RecordPath(), record, loaded);
    EXPECT_FALSE(loaded);
}

TEST(CredentialStore, SavingZeroesTheReservedBytes) {
    FakeDataFolder data;
    CredentialRecord withReserved = SampleRecord();
    std::memset(withReserved.reserved, 0xEE, sizeof withReserved.reserved);
    ASSERT_TRUE(WriteFileBytes(data.RecordPath(), Seal(BytesOf(withReserved))));

    CredentialRecord record{};
    bool loaded = false;
    LoadCredentialRecord(data.RecordPath(), record, loaded);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(record.reserved[0], 0xEE);  // reading keeps what the file held

    ASSERT_TRUE(SaveCredentialRecord(data.RecordPath(), record));
    for (std::uint8_t byte : record.reserved) {
        EXPECT_EQ(byte, 0);
    }
    const std::vector<std::uint8_t> plain = Unseal(*ReadFileBytes(data.RecordPath()));
    ASSERT_EQ(plain.size(), 268U);
    EXPECT_EQ(std::vector<std::uint8_t>(plain.begin(), plain.begin() + 8),
              std::vector<std::uint8_t>(8, 0));
    const std::vector<std::uint8_t> original = BytesOf(withReserved);
    EXPECT_EQ(std::vector<std::uint8_t>(plain.begin() + 8, plain.end()),
              std::vector<std::uint8_t>(original.begin() + 8, original.end()));
}

TEST(CredentialStore, ASaveWhileAnotherHandleHoldsTheFileFailsAndKeepsTheOldRecord) {
    FakeDataFolder data;
    CredentialRecord old = SampleRecord();
    ASSERT_TRUE(SaveCredentialRecord(data.RecordPath(), old));
    const std::vector<std::uint8_t> oldFile = *ReadFileBytes(data.RecordPath());

    CredentialRecord changed = old;
    SetFieldText(changed.passwordHash, u"");
    {
        const UniqueFile holder(::CreateFileW(data.RecordPath().c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.valid());
        EXPECT_FALSE(SaveCredentialRecord(data.RecordPath(), changed));
    }
    EXPECT_EQ(FieldText(changed.passwordHash), u"");  // memory keeps the new value
    EXPECT_EQ(ReadFileBytes(data.RecordPath()), oldFile);
    EXPECT_EQ(data.folder.FileNames(), std::vector<std::wstring>{kRecordName});
}

TEST(CredentialStore, ASaveCutShortAtAnyStepKeepsTheOldRecordOrTheNewOne) {
    FakeDataFolder data;
    CredentialRecord old = SampleRecord();
    CredentialRecord changed = SampleRecord();
    SetFieldText(changed.openid, u"another-identity");
    for (int crash = 1; crash <= 8; ++crash) {
        ASSERT_TRUE(SaveCredentialRecord(data.RecordPath(), old));
        {
            FaultyFileOperations crashing(crash, FaultyFileOperations::Mode::kCrash);
            SaveCredentialRecord(data.RecordPath(), changed, crashing);
        }
        CredentialRecord loaded{};
        bool loadedFlag = false;
        LoadCredentialRecord(data.RecordPath(), loaded, loadedFlag);
        ASSERT_TRUE(loadedFlag) << "crash at call " << crash;
        EXPECT_TRUE(BytesOf(loaded) == BytesOf(old) || BytesOf(loaded) == BytesOf(changed))
            << "crash at call " << crash;
    }
}

}  // namespace
}  // namespace brambolt
