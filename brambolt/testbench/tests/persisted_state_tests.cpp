// The persisted state against the stand-in driver: the registration the program writes must be
// one the Filter Manager accepts, the driver must read the lock list file the program writes, and
// the program's file work must reach the driver in the fixed orders.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "brambolt/app/startup_steps.h"
#include "brambolt/base/tests/test_folder.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/data_folder_access.h"
#include "brambolt/driver/driver_port.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/tests/registry_test_support.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/folders/lock_list_startup.h"
#include "brambolt/folders/lock_list_store.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/testbench/bench_journal.h"
#include "brambolt/testbench/registration_check.h"
#include "brambolt/testbench/stand_in_driver.h"

namespace brambolt {
namespace {

using testbench::JournalEntry;
using testbench::RequestKind;

constexpr DWORD kPing = 0x222160;
constexpr DWORD kProtection = 0x222164;
constexpr DWORD kDataAccess = 0x222180;

// The control requests of the journal, as "code value" strings, in order.
std::vector<std::string> ControlRequests() {
    std::vector<std::string> requests;
    for (const JournalEntry& entry : testbench::ReadJournal()) {
        if (entry.kind != RequestKind::Control) {
            continue;
        }
        const DWORD code = std::wcstoul(entry.subject.c_str(), nullptr, 16);
        std::string request = code == kPing         ? "ping"
                              : code == kProtection ? "protection"
                              : code == kDataAccess ? "data access"
                                                    : "other";
        if (entry.value) {
            request += " " + std::to_string(*entry.value);
        }
        requests.push_back(request);
    }
    return requests;
}

class StandInDriverFixture : public ::testing::Test {
  protected:
    testing::TestFolder programFolder;
    std::vector<std::wstring> messages;
    const ShowDriverMessage show = [this](const std::wstring& text, UINT) {
        messages.push_back(text);
    };

    void Install() { InstallAndLoadDriver(programFolder.path(), show); }

    void SetUp() override {
        InstallDriverPort(testbench::StandIn());
        EnableLoadDriverPrivilege();
        testbench::ResetStandIn();
        ASSERT_TRUE(testing::WriteFileBytes(programFolder.File(L"TarnBrambolt.sys"), {0x4D, 0x5A}));
    }

    void TearDown() override {
        if (const auto list = GetLockListPath()) {
            ::DeleteFileW(list->c_str());
        }
        if (const auto record = GetCredentialRecordPath()) {
            ::DeleteFileW(record->c_str());
        }
        DeleteRegistryTree(DriverServiceKey(GetDriverServiceName()));
        testbench::ResetStandIn();
    }

    // The program's own save of a list holding "C:\DATA".
    static void SaveListOfOneFolder() {
        LockList saved;
        saved.Append(u"C:\\DATA");
        OrderedLockListSaver saver;
        ASSERT_EQ(SaveLockList(saver, saved.Snapshot()), SaveOutcome::kWritten);
    }
};

TEST_F(StandInDriverFixture, TheWrittenRegistrationIsAcceptedAndTheDriverLoads) {
    Install();

    const testbench::RegistrationVerdict verdict =
        testbench::CheckRegistration(GetDriverServiceName());
    EXPECT_TRUE(verdict.complete) << testing::Narrow(verdict.problem);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(PingDriver());
}

TEST_F(StandInDriverFixture, ASecondInstallWhileLoadedUnloadsAndReportsTheLoadResult) {
    Install();
    ASSERT_TRUE(PingDriver());
    Install();

    ASSERT_EQ(messages.size(), 1U);
    // ERROR_SERVICE_ALREADY_RUNNING as an HRESULT, the Filter Manager's answer to a second load.
    EXPECT_EQ(messages[0], L"加密驱动加载失败，错误码: 0x80070420");
    EXPECT_FALSE(PingDriver());  // the failed load's unload took the filter out
}

TEST_F(StandInDriverFixture, EnsureDriverBringsTheDriverUpQuietly) {
    EnsureDriver(programFolder.path(), show);
    EXPECT_TRUE(PingDriver());
    EXPECT_TRUE(messages.empty());
}

TEST_F(StandInDriverFixture, UninstallUnloadsAndRemovesTheRegistration) {
    Install();
    UninstallDriver();
    EXPECT_FALSE(PingDriver());
    EXPECT_FALSE(testbench::CheckRegistration(GetDriverServiceName()).present);
}

TEST_F(StandInDriverFixture, TheDriverHidesTheFoldersOfTheListTheProgramSaved) {
    Install();
    LockList list;
    list.Append(u"C:\\DATA");
    list.Append(u"D:\\照片");
    OrderedLockListSaver saver;
    {
        const DataFolderAccess access;
        ASSERT_EQ(SaveLockList(saver, list.Snapshot()), SaveOutcome::kWritten);
        ASSERT_TRUE(SetDriverProtection(1));
    }

    const testbench::DriverState state = testbench::ReadDriverState(GetDriverServiceName());
    EXPECT_EQ(state.lockListRead, testbench::LockListRead::Read);
    EXPECT_EQ(state.hiddenFolders, (std::vector<std::wstring>{L"C:\\DATA", L"D:\\照片"}));
    EXPECT_EQ(state.dataAccess, 0);
}

TEST_F(StandInDriverFixture, TheStartupLoadIsBracketedByDataAccessWhenTheDriverAnswers) {
    Install();
    ASSERT_NO_FATAL_FAILURE(SaveListOfOneFolder());

    testbench::ClearJournal();
    LockList list;
    const LockListStartup startup = LoadLockListAtStartup(list);

    EXPECT_EQ(ControlRequests(),
              (std::vector<std::string>{"ping", "data access 1", "data access 0"}));
    EXPECT_FALSE(startup.startEnsureDriverThread);
    EXPECT_EQ(startup.listBoxRows, std::vector<std::wstring>{L"C:\\DATA"});
}

TEST_F(StandInDriverFixture, WithoutTheDriverTheStartupLoadAsksForTheDriverThread) {
    ASSERT_NO_FATAL_FAILURE(SaveListOfOneFolder());

    testbench::ClearJournal();
    LockList list;
    const LockListStartup startup = LoadLockListAtStartup(list);
    EXPECT_TRUE(startup.startEnsureDriverThread);
    EXPECT_EQ(list.Entries(), LockListEntries{u"C:\\DATA"});
    for (const JournalEntry& entry : testbench::ReadJournal()) {
        EXPECT_NE(entry.kind, RequestKind::Control);  // the device never opened
    }
}

TEST_F(StandInDriverFixture, TheCredentialRecordIsReadAndWrittenBetweenDataAccessOneAndZero) {
    Install();
    CredentialRecord record{};
    SetFieldText(record.passwordHash, u"AB");

    testbench::ClearJournal();
    ASSERT_TRUE(SaveCredentialRecord(record));
    EXPECT_EQ(ControlRequests(), (std::vector<std::string>{"data access 1", "data access 0"}));

    testbench::ClearJournal();
    CredentialRecord loaded{};
    bool loadedFlag = false;
    const std::optional<std::wstring> recordPath = GetCredentialRecordPath();
    ASSERT_TRUE(recordPath.has_value());
    LoadCredentialRecord(*recordPath, loaded, loadedFlag);
    EXPECT_TRUE(loadedFlag);
    EXPECT_EQ(FieldText(loaded.passwordHash), u"AB");
    EXPECT_EQ(ControlRequests(), (std::vector<std::string>{"data access 1", "data access 0"}));
}

}  // namespace
}  // namespace brambolt
