#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/tests/recording_port.h"
#include "brambolt/driver/tests/registry_test_support.h"
#include "brambolt/driver/user_names.h"

namespace brambolt {
namespace {

using testing::RegistryKeyExists;
using testing::ScopedRegistryCleanup;

const std::wstring kMinimalKey =
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\TarnBrambolt.sys";
const std::wstring kNetworkKey =
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Network\\TarnBrambolt.sys";

struct Message {
    std::wstring text;
    UINT type;
};

// The registration under this user's service name, a recording port in place of the driver, and a
// message sink in place of the boxes. Every key it writes is removed afterwards.
class InstallFixture : public ::testing::Test {
  protected:
    const std::wstring serviceName = GetDriverServiceName();
    const std::wstring programDirectory = L"C:\\Program Files\\Vorlin";
    ScopedRegistryCleanup minimal{kMinimalKey};
    ScopedRegistryCleanup network{kNetworkKey};
    ScopedRegistryCleanup service{DriverServiceKey(serviceName)};
    testing::RecordingPort port;
    testing::ScopedDriverPort installed{port};
    std::vector<Message> messages;
    const ShowDriverMessage show = [this](const std::wstring& text, UINT type) {
        messages.push_back({text, type});
    };
};

using Requests = std::vector<std::string>;

TEST_F(InstallFixture, AFailedLoadUnloadsTheFilterAndShowsTheLoadResult) {
    port.loadResult = static_cast<HRESULT>(0x80070032);
    InstallAndLoadDriver(programDirectory, show);

    EXPECT_EQ(port.Requests(), (Requests{"load", "unload"}));
    EXPECT_EQ(port.Calls()[1].subject, serviceName);
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].text, L"加密驱动加载失败，错误码: 0x80070032");
    EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    // The registration stays for the next attempt and for the next system start.
    EXPECT_TRUE(
        RegistryKeyExists(DriverServiceKey(serviceName) + L"\\Instances\\Brambolt Instance1000"));
}

TEST(DriverLoadFailedText, ShowsEveryLoadResultInEightUpperCaseHexDigits) {
    EXPECT_EQ(DriverLoadFailedText(static_cast<HRESULT>(0x801F0012)),
              L"加密驱动加载失败，错误码: 0x801F0012");
    EXPECT_EQ(DriverLoadFailedText(static_cast<HRESULT>(0x8007000A)),
              L"加密驱动加载失败，错误码: 0x8007000A");
}

TEST_F(InstallFixture, ASuccessfulLoadKeepsTheFilterAndShowsNothing) {
    InstallAndLoadDriver(programDirectory, show);
    EXPECT_EQ(port.Requests(), Requests{"load"});
    EXPECT_EQ(port.Calls()[0].subject, serviceName);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(RegistryKeyExists(kMinimalKey));
    EXPECT_TRUE(RegistryKeyExists(kNetworkKey));
}

TEST_F(InstallFixture, InstallsFromTwoThreadsRunOneAfterTheOther) {
    std::mutex mutex;
    std::condition_variable changed;
    int inside = 0;
    bool overlapped = false;
    std::thread second;

    port.onLoad = [&] {
        std::unique_lock lock(mutex);
        overlapped = overlapped || inside > 0;
        ++inside;
        if (!second.joinable()) {
            // While this load runs, a second install starts; it must wait for this one to end.
            second = std::thread([&] { InstallAndLoadDriver(programDirectory, show); });
            changed.wait_for(lock, std::chrono::milliseconds(300), [&] { return inside > 1; });
        }
        --inside;
        changed.notify_all();
    };
    InstallAndLoadDriver(programDirectory, show);
    second.join();

    EXPECT_FALSE(overlapped);
    EXPECT_EQ(port.Requests(), (Requests{"load", "load"}));
}

TEST_F(InstallFixture, EnsureDriverDoesNothingWhenTheDriverAnswers) {
    EnsureDriver(programDirectory, show);
    EXPECT_EQ(port.Requests(), (Requests{"open", "ping", "close"}));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(RegistryKeyExists(DriverServiceKey(serviceName)));
}

TEST_F(InstallFixture, EnsureDriverInstallsAndIsQuietWhenTheDriverThenAnswers) {
    port.openScript = {false, true};
    EnsureDriver(programDirectory, show);
    EXPECT_EQ(port.Requests(), (Requests{"open refused", "load", "open", "ping", "close"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(InstallFixture, EnsureDriverReportsADriverThatStillDoesNotAnswer) {
    port.loadResult = static_cast<HRESULT>(0x80070032);
    port.opens = false;
    EnsureDriver(programDirectory, show);
    EXPECT_EQ(port.Requests(), (Requests{"open refused", "load", "unload", "open refused"}));
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_EQ(messages[0].text, L"加密驱动加载失败，错误码: 0x80070032");
    EXPECT_EQ(messages[1].text,
              L"安装加密驱动失败，请检查是否被安全软件阻止，若多次设置失败请重启电脑再试。\n"
              L"解决问题后请重新设置加密功能");
    EXPECT_EQ(messages[1].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
}

TEST_F(InstallFixture, UninstallRemovesTheServiceTreeAndTheListButKeepsSafeBoot) {
    InstallAndLoadDriver(programDirectory, show);
    const std::optional<std::wstring> lockListPath = GetLockListPath();
    ASSERT_TRUE(lockListPath.has_value());
    {
        const UniqueFile list(::CreateFileW(lockListPath->c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(list.valid());
    }

    port.Clear();
    UninstallDriver();

    EXPECT_EQ(port.Requests(), (Requests{"open", "ping", "close", "unload"}));
    EXPECT_FALSE(RegistryKeyExists(DriverServiceKey(serviceName)));
    EXPECT_EQ(::GetFileAttributesW(lockListPath->c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(RegistryKeyExists(kMinimalKey));
    EXPECT_TRUE(RegistryKeyExists(kNetworkKey));
}

TEST_F(InstallFixture, UninstallWithoutAnAnsweringDriverDoesNotUnload) {
    InstallAndLoadDriver(programDirectory, show);
    port.Clear();
    port.opens = false;
    UninstallDriver();
    EXPECT_EQ(port.Requests(), Requests{"open refused"});
    EXPECT_FALSE(RegistryKeyExists(DriverServiceKey(serviceName)));
}

}  // namespace
}  // namespace brambolt
