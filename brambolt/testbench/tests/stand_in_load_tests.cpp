// The stand-in's Filter Manager side: which registrations load, the answers of a second load and
// of an unload, and the journal's lines.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>

#include "brambolt/app/startup_steps.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/testbench/bench_journal.h"
#include "brambolt/testbench/registration_check.h"
#include "brambolt/testbench/stand_in_driver.h"

namespace brambolt::testbench {
namespace {

constexpr wchar_t kService[] = L"TARNBRT_S-1-5-21-11-22-33-1001";
constexpr wchar_t kServiceKey[] =
    L"SYSTEM\\CurrentControlSet\\Services\\TARNBRT_S-1-5-21-11-22-33-1001";

class StandInLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStandIn();
        EnableLoadDriverPrivilege();  // as start-up does; the stand-in checks it
        std::array<wchar_t, MAX_PATH> temp{};
        ::GetTempPathW(MAX_PATH, temp.data());
        image_ = std::wstring(temp.data()) + L"StandInImage.sys";
        const UniqueFile file(::CreateFileW(image_.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.valid());
        WriteRegistrationForTests(kService, image_, L"Brambolt Instance1001", L"80580.1001");
    }
    void TearDown() override {
        DeleteRegistrationForTests(kService);
        ::DeleteFileW(image_.c_str());
        ResetStandIn();
    }

    static void SetDword(const wchar_t* subkey, const wchar_t* name, DWORD value) {
        ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, subkey, name, REG_DWORD, &value, sizeof(value));
    }

    StandInDriver driver_;
    std::wstring image_;
};

TEST_F(StandInLoad, CompleteRegistrationLoadsOnceAndUnloadsOnce) {
    EXPECT_EQ(driver_.FilterLoad(kService), S_OK);
    EXPECT_TRUE(ReadDriverState(kService).loaded);
    EXPECT_EQ(driver_.FilterLoad(kService), kLoadAlreadyLoaded);
    EXPECT_EQ(kLoadAlreadyLoaded, static_cast<HRESULT>(0x80070420));
    EXPECT_EQ(driver_.FilterUnload(kService), S_OK);
    EXPECT_FALSE(ReadDriverState(kService).loaded);
    EXPECT_EQ(driver_.FilterUnload(kService), kUnloadNotLoaded);
    EXPECT_EQ(driver_.FilterLoad(kService), S_OK) << "a filter unloaded can be loaded again";
}

TEST_F(StandInLoad, MissingServiceOrImageFileIsNotFound) {
    EXPECT_EQ(driver_.FilterLoad(L"TARNBRT_NOT-REGISTERED"), kLoadNoService);
    ASSERT_TRUE(::DeleteFileW(image_.c_str()));
    EXPECT_EQ(driver_.FilterLoad(kService), kLoadNoService);
    EXPECT_FALSE(ReadDriverState(kService).loaded);
    const auto journal = ReadJournal();
    ASSERT_EQ(journal.size(), 2U);
    EXPECT_EQ(journal[1].kind, RequestKind::Load);
    EXPECT_EQ(journal[1].outcome, L"0x80070002");
    EXPECT_EQ(journal[1].reason, L"image file");
}

TEST_F(StandInLoad, IncompleteRegistrationIsRefusedNamingTheItem) {
    struct Case {
        const wchar_t* item;
        void (*spoil)();
    };
    const Case cases[] = {
        {L"Type", [] { SetDword(kServiceKey, L"Type", 1); }},
        {L"Start", [] { SetDword(kServiceKey, L"Start", 3); }},
        {L"DependOnService",
         [] { ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kServiceKey, L"DependOnService"); }},
        {L"Group", [] { ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kServiceKey, L"Group"); }},
        {L"SupportedFeatures",
         [] {
             ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE,
                                  (std::wstring(kServiceKey) + L"\\Parameters").c_str(),
                                  L"SupportedFeatures");
         }},
        {L"DefaultInstance",
         [] {
             ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE,
                                  (std::wstring(kServiceKey) + L"\\Instances").c_str(),
                                  L"DefaultInstance");
         }},
        {L"Altitude",
         [] {
             ::RegDeleteKeyValueW(
                 HKEY_LOCAL_MACHINE,
                 (std::wstring(kServiceKey) + L"\\Instances\\Brambolt Instance1001").c_str(),
                 L"Altitude");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        WriteRegistrationForTests(kService, image_, L"Brambolt Instance1001", L"80580.1001");
        c.spoil();
        const RegistrationVerdict verdict = CheckRegistration(kService);
        EXPECT_TRUE(verdict.present);
        EXPECT_FALSE(verdict.complete);
        EXPECT_EQ(verdict.problem, c.item);
        EXPECT_EQ(driver_.FilterLoad(kService), kLoadBadRegistration);
        EXPECT_FALSE(ReadDriverState(kService).loaded);
    }
}

TEST_F(StandInLoad, JournalRecordsProcessRequestAndOutcomeInOrder) {
    ASSERT_EQ(driver_.FilterLoad(kService), S_OK);
    DriverDevice device = driver_.OpenDevice((std::wstring(L"\\\\.\\") + kService).c_str());
    ASSERT_TRUE(device.valid());
    const std::int32_t one = 1;
    EXPECT_TRUE(driver_.SendControl(device.get(), 0x222164, &one, sizeof(one)));
    EXPECT_FALSE(driver_.SendControl(device.get(), 0x222168, nullptr, 0)) << "an unknown code";
    device.reset();
    EXPECT_EQ(driver_.FilterUnload(kService), S_OK);

    const auto journal = ReadJournal();
    ASSERT_EQ(journal.size(), 6U);
    const RequestKind kinds[] = {RequestKind::Load,    RequestKind::Open,  RequestKind::Control,
                                 RequestKind::Control, RequestKind::Close, RequestKind::Unload};
    for (std::size_t i = 0; i < journal.size(); ++i) {
        EXPECT_EQ(journal[i].kind, kinds[i]) << i;
        EXPECT_EQ(journal[i].processId, ::GetCurrentProcessId());
    }
    EXPECT_EQ(journal[0].outcome, L"0x00000000");
    EXPECT_EQ(journal[2].subject, L"0x00222164");
    EXPECT_EQ(journal[2].value, 1);
    EXPECT_EQ(journal[2].outcome, L"ok");
    EXPECT_EQ(journal[3].value, std::nullopt);
    EXPECT_EQ(journal[3].outcome, L"failed");
    ClearJournal();
    EXPECT_TRUE(ReadJournal().empty());
}

TEST_F(StandInLoad, ClosedOrForeignHandleIsRefused) {
    ASSERT_EQ(driver_.FilterLoad(kService), S_OK);
    DriverDevice device = driver_.OpenDevice((std::wstring(L"\\\\.\\") + kService).c_str());
    ASSERT_TRUE(device.valid());
    const HANDLE closed = device.get();
    device.reset();
    EXPECT_FALSE(driver_.SendControl(closed, 0x222160, nullptr, 0));
    EXPECT_FALSE(driver_.OpenDevice(L"\\\\.\\").valid());
    EXPECT_FALSE(driver_.OpenDevice(kService).valid()) << "a name without the prefix";
}

}  // namespace
}  // namespace brambolt::testbench
