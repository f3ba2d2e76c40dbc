// The persisted state against the stand-in driver: the registration the program writes must be
// one the Filter Manager accepts, the driver must read the lock list file the program writes, and
// the program's file work must reach the driver in the fixed orders.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench_journal.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/driver_port.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/folders/lock_list_startup.h"
#include "brambolt/folders/lock_list_store.h"
#include "brambolt/folders/tests/test_folder.h"
#include "brambolt/password/credential_store.h"
#include "registration_check.h"
#include "registry_test_support.h"
#include "stand_in_driver.h"
#include "startup_steps.h"

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
    DriverRegistrationEnvironment environment = ProgramDriverRegistrationEnvironment();

    void SetUp() override {
        InstallDriverPort(testbench::StandIn());
        EnableLoadDriverPrivilege();
        testbench::ResetStandIn();
        ASSERT_TRUE(testing::WriteFileBytes(programFolder.File(L"TarnBrambolt.sys"), {0x4D, 0x5A}));
        environment.programDirectory = [this] { return programFolder.path(); };
        environment.showMessage = [this](const std::wstring& text, UINT) {
            messages.push_back(text);
        };
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
        ASSERT_EQ(SaveLockList(ProgramLockListEnvironment(), saver, saved.Snapshot()),
                  SaveOutcome::kWritten);
    }
};

TEST_F(StandInDriverFixture, TheWrittenRegistrationIsAcceptedAndTheDriverLoads) {
    InstallAndLoadDriver(environment);

    const testbench::RegistrationVerdict verdict =
        testbench::CheckRegistration(GetDriverServiceName());
    EXPECT_TRUE(verdict.complete) << testing::Narrow(verdict.problem);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(PingDriver());
}

TEST_F(StandInDriverFixture, ASecondInstallWhileLoadedUnloadsAndReportsTheLoadResult) {
    InstallAndLoadDriver(environment);
    ASSERT_TRUE(PingDriver());
    InstallAndLoadDriver(environment);

    ASSERT_EQ(messages.size(), 1U);
    wchar_t expected[64] = {};
    swprintf(expected, 64, L"加密驱动加载失败，错误码: 0x%08X",
             static_cast<unsigned>(testbench::kLoadAlreadyLoaded));
    EXPECT_EQ(messages[0], expected);
    EXPECT_FALSE(PingDriver());  // the failed load's unload took the filter out
}

TEST_F(StandInDriverFixture, EnsureDriverBringsTheDriverUpQuietly) {
    EnsureDriver(environment);
    EXPECT_TRUE(PingDriver());
    EXPECT_TRUE(messages.empty());
}

TEST_F(StandInDriverFixture, UninstallUnloadsAndRemovesTheRegistration) {
    InstallAndLoadDriver(environment);
    UninstallDriver(environment);
    EXPECT_FALSE(PingDriver());
    EXPECT_FALSE(testbench::CheckRegistration(GetDriverServiceName()).present);
}

TEST_F(StandInDriverFixture, TheDriverHidesTheFoldersOfTheSavedList) {
    InstallAndLoadDriver(environment);
    LockList list;
    list.Append(u"C:\\DATA");
    list.Append(u"D:\\照片");
    OrderedLockListSaver saver;

    testbench::ClearJournal();
    SetDataFolderAccess(1);
    ASSERT_EQ(SaveLockList(ProgramLockListEnvironment(), saver, list.Snapshot()),
              SaveOutcome::kWritten);
    SetDriverProtection(1);
    SetDataFolderAccess(0);

    EXPECT_EQ(ControlRequests(),
              (std::vector<std::string>{"data access 1", "protection 1", "data access 0"}));
    const testbench::DriverState state = testbench::ReadDriverState(GetDriverServiceName());
    EXPECT_EQ(state.lockListRead, testbench::LockListRead::Read);
    EXPECT_EQ(state.hiddenFolders, (std::vector<std::wstring>{L"C:\\DATA", L"D:\\照片"}));
}

TEST_F(StandInDriverFixture, TheStartupLoadIsBracketedByDataAccessWhenTheDriverAnswers) {
    InstallAndLoadDriver(environment);
    ASSERT_NO_FATAL_FAILURE(SaveListOfOneFolder());

    testbench::ClearJournal();
    LockList list;
    const LockListStartup startup = LoadLockListAtStartup(ProgramLockListEnvironment(), list);

    EXPECT_EQ(ControlRequests(),
              (std::vector<std::string>{"ping", "data access 1", "data access 0"}));
    EXPECT_FALSE(startup.startEnsureDriverThread);
    EXPECT_EQ(startup.listBoxRows, std::vector<std::wstring>{L"C:\\DATA"});
}

TEST_F(StandInDriverFixture, WithoutTheDriverTheStartupLoadAsksForTheDriverThread) {
    ASSERT_NO_FATAL_FAILURE(SaveListOfOneFolder());

    testbench::ClearJournal();
    LockList list;
    const LockListStartup startup = LoadLockListAtStartup(ProgramLockListEnvironment(), list);
    EXPECT_TRUE(startup.startEnsureDriverThread);
    EXPECT_EQ(list.Entries(), LockListEntries{u"C:\\DATA"});
    for (const JournalEntry& entry : testbench::ReadJournal()) {
        EXPECT_NE(entry.kind, RequestKind::Control);  // the device never opened
    }
}

TEST_F(StandInDriverFixture, TheCredentialRecordIsReadAndWrittenBetweenDataAccessOneAndZero) {
    InstallAndLoadDriver(environment);
    CredentialRecord record{};
    SetFieldText(record.passwordHash, u"AB");

    testbench::ClearJournal();
    ASSERT_TRUE(SaveCredentialRecord(ProgramCredentialStoreEnvironment(), record));
    EXPECT_EQ(ControlRequests(), (std::vector<std::string>{"data access 1", "data access 0"}));

    testbench::ClearJournal();
    CredentialRecord loaded{};
    bool loadedFlag = false;
    LoadCredentialRecord(ProgramCredentialStoreEnvironment(), loaded, loadedFlag);
    EXPECT_TRUE(loadedFlag);
    EXPECT_EQ(FieldText(loaded.passwordHash), u"AB");
    EXPECT_EQ(ControlRequests(), (std::vector<std::string>{"data access 1", "data access 0"}));
}

}  // namespace
}  // namespace brambolt
