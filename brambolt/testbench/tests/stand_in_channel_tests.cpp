// The stand-in driver's channel: the contract the real driver keeps, seen through the program's own
// control channel.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "brambolt/app/startup_steps.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/driver_port.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/testbench/bench_journal.h"
#include "brambolt/testbench/registration_check.h"
#include "brambolt/testbench/stand_in_driver.h"

namespace brambolt {
namespace {

using testbench::JournalEntry;
using testbench::RequestKind;

// The stand-in driver: the contract the real driver keeps.
class StandInChannel : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallDriverPort(testbench::StandIn());
        testbench::ResetStandIn();
        EnableLoadDriverPrivilege();  // as start-up does; the stand-in checks it
        std::array<wchar_t, MAX_PATH> temp{};
        ::GetTempPathW(MAX_PATH, temp.data());
        imageFile_ = std::wstring(temp.data()) + L"TarnBrambolt.sys";
        const UniqueFile image(::CreateFileW(imageFile_.c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(image.valid());
        service_ = GetDriverServiceName();
        testbench::WriteRegistrationForTests(service_, imageFile_, L"Brambolt Instance1000",
                                             L"80580.1000");
    }

    void TearDown() override {
        testbench::DeleteRegistrationForTests(service_);
        testbench::DeleteRegistrationForTests(otherService_);
        testbench::ResetStandIn();
    }

    std::vector<JournalEntry> Journal() { return testbench::ReadJournal(); }

    std::wstring imageFile_;
    std::wstring service_;
    const std::wstring otherService_ = L"TARNBRT_S-1-5-21-7-7-7-1001";
};

TEST_F(StandInChannel, PingFailsWhileTheDriverIsNotLoaded) {
    EXPECT_FALSE(PingDriver());
    EXPECT_FALSE(SetDriverProtection(1));
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 2U);
    for (const auto& entry : journal) {
        EXPECT_EQ(entry.kind, RequestKind::Open);
        EXPECT_EQ(entry.subject, GetDriverDevicePath());
        EXPECT_EQ(entry.outcome, L"refused");
        EXPECT_EQ(entry.processId, ::GetCurrentProcessId());
    }
}

TEST_F(StandInChannel, LoadedDriverAnswersEachRequestOnItsOwnOpenAndClose) {
    ASSERT_EQ(CurrentDriverPort().FilterLoad(service_.c_str()), S_OK);
    EXPECT_TRUE(PingDriver());
    EXPECT_TRUE(SetDataFolderAccess(1));
    EXPECT_TRUE(SetDataFolderAccess(0));
    const auto journal = Journal();
    const std::vector<std::wstring> expected = {
        L"load " + service_, L"open " + GetDriverDevicePath(), L"control 0x00222160",
        L"close -",          L"open " + GetDriverDevicePath(), L"control 0x00222180",
        L"close -",          L"open " + GetDriverDevicePath(), L"control 0x00222180",
        L"close -"};
    ASSERT_EQ(journal.size(), expected.size());
    const wchar_t* kinds[] = {L"load", L"unload", L"open", L"control", L"close"};
    for (std::size_t i = 0; i < journal.size(); ++i) {
        EXPECT_EQ(
            std::wstring(kinds[static_cast<int>(journal[i].kind)]) + L" " + journal[i].subject,
            expected[i]);
    }
    EXPECT_EQ(journal[5].value, 1);
    EXPECT_EQ(journal[8].value, 0);
}

TEST_F(StandInChannel, ADeviceOfAnotherSidIsNeverOpened) {
    testbench::WriteRegistrationForTests(otherService_, imageFile_, L"Brambolt Instance1001",
                                         L"80580.1001");
    ASSERT_EQ(CurrentDriverPort().FilterLoad(otherService_.c_str()), S_OK);
    EXPECT_FALSE(PingDriver());
    EXPECT_FALSE(SetDriverProtection(0));
    for (const auto& entry : Journal()) {
        if (entry.kind == RequestKind::Open) {
            EXPECT_EQ(entry.subject, GetDriverDevicePath());
            EXPECT_NE(entry.subject, L"\\\\.\\" + otherService_);
        }
    }
    EXPECT_EQ(testbench::ReadDriverState(otherService_).protection, 0);
}

TEST_F(StandInChannel, ProtectionOnTakesTheFoldersFromTheLockListFile) {
    ASSERT_EQ(CurrentDriverPort().FilterLoad(service_.c_str()), S_OK);
    const auto listPath = GetLockListPath();
    ASSERT_TRUE(listPath.has_value());
    {
        const std::u16string content = u"\uFEFFC:\\DATA\r\nD:\\\u7167\u7247\r\n";
        const UniqueFile file(::CreateFileW(listPath->c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.valid());
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size() * 2),
                                &written, nullptr));
    }
    ASSERT_TRUE(SetDriverProtection(1));
    auto state = testbench::ReadDriverState(service_);
    EXPECT_EQ(state.protection, 1);
    EXPECT_EQ(state.lockListRead, testbench::LockListRead::Read);
    EXPECT_EQ(state.hiddenFolders, (std::vector<std::wstring>{L"C:\\DATA", L"D:\\\u7167\u7247"}));

    ASSERT_TRUE(SetDriverProtection(0));
    state = testbench::ReadDriverState(service_);
    EXPECT_EQ(state.protection, 0);
    ::DeleteFileW(listPath->c_str());
}

TEST_F(StandInChannel, MalformedLockListLeavesTheHiddenFoldersAsTheyWere) {
    ASSERT_EQ(CurrentDriverPort().FilterLoad(service_.c_str()), S_OK);
    const auto listPath = GetLockListPath();
    ASSERT_TRUE(listPath.has_value());
    const auto write = [&](const std::u16string& content) {
        const UniqueFile file(::CreateFileW(listPath->c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size() * 2), &written,
                    nullptr);
    };
    write(u"\uFEFFC:\\DATA\r\n");
    ASSERT_TRUE(SetDriverProtection(1));
    write(u"C:\\OTHER\r\n");  // no byte-order mark
    ASSERT_TRUE(SetDriverProtection(1));
    const auto state = testbench::ReadDriverState(service_);
    EXPECT_EQ(state.lockListRead, testbench::LockListRead::Malformed);
    EXPECT_EQ(state.hiddenFolders, (std::vector<std::wstring>{L"C:\\DATA"}));
    ::DeleteFileW(listPath->c_str());
    ASSERT_TRUE(SetDriverProtection(1));
    EXPECT_EQ(testbench::ReadDriverState(service_).lockListRead, testbench::LockListRead::Absent);
}

TEST_F(StandInChannel, StateOutlivesTheDriverObjectThatSetIt) {
    ASSERT_EQ(CurrentDriverPort().FilterLoad(service_.c_str()), S_OK);
    ASSERT_TRUE(SetDataFolderAccess(1));
    // Another process's stand-in sees the same loaded driver and its state.
    testbench::StandInDriver another;
    InstallDriverPort(another);
    EXPECT_TRUE(PingDriver());
    EXPECT_EQ(testbench::ReadDriverState(service_).dataAccess, 1);
    EXPECT_EQ(another.FilterLoad(service_.c_str()), testbench::kLoadAlreadyLoaded);
    InstallDriverPort(testbench::StandIn());
}

TEST_F(StandInChannel, RefusesValuesOtherThanZeroAndOne) {
    ASSERT_EQ(CurrentDriverPort().FilterLoad(service_.c_str()), S_OK);
    EXPECT_FALSE(SetDriverProtection(2));
    EXPECT_FALSE(SetDataFolderAccess(-1));
    EXPECT_EQ(testbench::ReadDriverState(service_).protection, 0);
}

}  // namespace
}  // namespace brambolt
