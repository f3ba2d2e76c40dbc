// The control channel: the exact requests it makes through the driver port (a recording port),
// and its behaviour against the stand-in driver.
#include <gtest/gtest.h>

#include <windows.h>

#include <winioctl.h>

#include <array>
#include <string>
#include <vector>

#include "bench_journal.h"
#include "control_channel.h"
#include "control_codes.h"
#include "driver_port.h"
#include "registration_check.h"
#include "stand_in_driver.h"
#include "startup_steps.h"
#include "unique_handle.h"
#include "user_names.h"

namespace brambolt {
namespace {

using testbench::JournalEntry;
using testbench::RequestKind;

TEST(ControlCodes, AreTheCtlCodesOfTheDriversFunctions) {
    EXPECT_EQ(IOCTL_FILTER_PING, CTL_CODE(0x22, 0x858, METHOD_BUFFERED, FILE_ANY_ACCESS));
    EXPECT_EQ(IOCTL_FILTER_SET_PROTECTION, CTL_CODE(0x22, 0x859, METHOD_BUFFERED, FILE_ANY_ACCESS));
    EXPECT_EQ(IOCTL_FILTER_SET_DATA_ACCESS,
              CTL_CODE(0x22, 0x860, METHOD_BUFFERED, FILE_ANY_ACCESS));
    EXPECT_EQ(IOCTL_FILTER_PING, 0x222160U);
    EXPECT_EQ(IOCTL_FILTER_SET_PROTECTION, 0x222164U);
    EXPECT_EQ(IOCTL_FILTER_SET_DATA_ACCESS, 0x222180U);
}

// Records every call and answers as told.
class RecordingPort final : public DriverPort {
  public:
    struct Call {
        std::wstring what;
        std::wstring path;
        DWORD code = 0;
        std::vector<unsigned char> input;
        bool inputWasNull = false;
        HANDLE device = nullptr;
    };

    HANDLE OpenDevice(const wchar_t* devicePath) override {
        calls.push_back({L"open", devicePath, 0, {}, false, nullptr});
        return opens ? device : INVALID_HANDLE_VALUE;
    }
    bool SendControl(HANDLE handle, DWORD code, const void* input, DWORD inputSize) override {
        const auto* bytes = static_cast<const unsigned char*>(input);
        calls.push_back({L"control",
                         {},
                         code,
                         bytes != nullptr ? std::vector<unsigned char>(bytes, bytes + inputSize)
                                          : std::vector<unsigned char>(),
                         input == nullptr && inputSize == 0,
                         handle});
        return answers;
    }
    void CloseDevice(HANDLE handle) override {
        calls.push_back({L"close", {}, 0, {}, false, handle});
    }
    HRESULT FilterLoad(const wchar_t* /*serviceName*/) override { return E_NOTIMPL; }
    HRESULT FilterUnload(const wchar_t* /*serviceName*/) override { return E_NOTIMPL; }

    bool opens = true;
    bool answers = true;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): a made-up handle value
    HANDLE device = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x4242));
    std::vector<Call> calls;
};

class ChannelRequests : public ::testing::Test {
  protected:
    void SetUp() override { InstallDriverPort(port_); }
    void TearDown() override { InstallDriverPort(testbench::StandIn()); }

    RecordingPort port_;
};

TEST_F(ChannelRequests, PingOpensThisUsersDeviceSendsThePingWithoutInputAndCloses) {
    ASSERT_TRUE(PingDriver());
    ASSERT_EQ(port_.calls.size(), 3U);
    EXPECT_EQ(port_.calls[0].what, L"open");
    EXPECT_EQ(port_.calls[0].path, GetDriverDevicePath());
    EXPECT_EQ(port_.calls[1].code, IOCTL_FILTER_PING);
    EXPECT_TRUE(port_.calls[1].inputWasNull);
    EXPECT_EQ(port_.calls[1].device, port_.device);
    EXPECT_EQ(port_.calls[2].what, L"close");
    EXPECT_EQ(port_.calls[2].device, port_.device);
}

TEST_F(ChannelRequests, ValuesTravelAsFourLittleEndianBytes) {
    struct Case {
        bool (*request)(std::int32_t);
        std::int32_t value;
        DWORD code;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {&SetDriverProtection, 1, IOCTL_FILTER_SET_PROTECTION, {1, 0, 0, 0}},
        {&SetDriverProtection, 0, IOCTL_FILTER_SET_PROTECTION, {0, 0, 0, 0}},
        {&SetDataFolderAccess, 1, IOCTL_FILTER_SET_DATA_ACCESS, {1, 0, 0, 0}},
        {&SetDataFolderAccess, -2, IOCTL_FILTER_SET_DATA_ACCESS, {0xFE, 0xFF, 0xFF, 0xFF}},
        {&SetDriverProtection, 0x01020304, IOCTL_FILTER_SET_PROTECTION, {4, 3, 2, 1}},
    };
    for (const auto& c : cases) {
        port_.calls.clear();
        ASSERT_TRUE(c.request(c.value));
        ASSERT_EQ(port_.calls.size(), 3U);
        EXPECT_EQ(port_.calls[1].code, c.code);
        EXPECT_EQ(port_.calls[1].input, c.bytes) << c.value;
    }
}

TEST_F(ChannelRequests, FailedRequestStillClosesTheDevice) {
    port_.answers = false;
    EXPECT_FALSE(SetDriverProtection(1));
    ASSERT_EQ(port_.calls.size(), 3U);
    EXPECT_EQ(port_.calls[2].what, L"close");
}

TEST_F(ChannelRequests, DeviceThatDoesNotOpenFailsWithoutRequestOrClose) {
    port_.opens = false;
    EXPECT_FALSE(PingDriver());
    EXPECT_FALSE(SetDataFolderAccess(0));
    ASSERT_EQ(port_.calls.size(), 2U);
    EXPECT_EQ(port_.calls[0].what, L"open");
    EXPECT_EQ(port_.calls[1].what, L"open");
}

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
