#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "brambolt/driver/driver_registration.h"
#include "brambolt/framework/unique_handle.h"
#include "registry_test_support.h"

namespace brambolt {
namespace {

using testing::RegistryKeyExists;
using testing::ScopedRegistryCleanup;

const std::wstring kMinimalKey =
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\TarnBrambolt.sys";
const std::wstring kNetworkKey =
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Network\\TarnBrambolt.sys";

// Records the Filter Manager calls and answers loads with a chosen result.
class RecordingPort final : public DriverPort {
  public:
    explicit RecordingPort(HRESULT loadResult) : loadResult_(loadResult) {}

    HANDLE OpenDevice(const wchar_t* /*devicePath*/) override { return INVALID_HANDLE_VALUE; }
    bool SendControl(HANDLE /*device*/, DWORD /*code*/, const void* /*input*/,
                     DWORD /*inputSize*/) override {
        return false;
    }
    void CloseDevice(HANDLE /*device*/) override {}
    HRESULT FilterLoad(const wchar_t* serviceName) override {
        Record(L"load " + std::wstring(serviceName));
        if (onLoad) {
            onLoad();
        }
        return loadResult_;
    }
    HRESULT FilterUnload(const wchar_t* serviceName) override {
        Record(L"unload " + std::wstring(serviceName));
        return S_OK;
    }

    std::vector<std::wstring> calls() {
        const std::scoped_lock lock(mutex_);
        return calls_;
    }
    std::function<void()> onLoad;

  private:
    void Record(std::wstring call) {
        const std::scoped_lock lock(mutex_);
        calls_.push_back(std::move(call));
    }

    HRESULT loadResult_;
    std::mutex mutex_;
    std::vector<std::wstring> calls_;
};

struct Message {
    std::wstring text;
    UINT type;
};

// The rest of the program as the registration sees it: a scripted ping, the recording port, a
// lock list file in the temporary folder and a message sink.
class InstallFixture : public ::testing::Test {
  protected:
    const std::wstring serviceName = L"TARNBRT_TEST_" + std::to_wstring(::GetCurrentProcessId());
    ScopedRegistryCleanup minimal{kMinimalKey};
    ScopedRegistryCleanup network{kNetworkKey};
    ScopedRegistryCleanup service{DriverServiceKey(serviceName)};
    std::deque<bool> pings;
    std::vector<Message> messages;
    std::wstring lockListPath = TemporaryListPath();

    ~InstallFixture() override { ::DeleteFileW(lockListPath.c_str()); }

    static std::wstring TemporaryListPath() {
        wchar_t folder[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, folder);
        return std::wstring(folder) + L"TARNLOCKLIST-" + std::to_wstring(::GetCurrentProcessId()) +
               L".INI";
    }

    DriverRegistrationEnvironment Environment(RecordingPort& port) {
        return DriverRegistrationEnvironment{
            [] { return std::optional<std::wstring>(L"S-1-5-21-0-0-0-1000"); },
            [this] { return serviceName; },
            [] { return std::wstring(L"C:\\Program Files\\Vorlin"); },
            [this] {
                const bool answer = !pings.empty() && pings.front();
                if (!pings.empty()) {
                    pings.pop_front();
                }
                return answer;
            },
            [&port]() -> DriverPort& { return port; },
            [this] { return std::optional<std::wstring>(lockListPath); },
            [this](const std::wstring& text, UINT type) {
                messages.push_back({text, type});
            },
        };
    }
};

TEST_F(InstallFixture, AFailedLoadUnloadsTheFilterAndShowsTheLoadResult) {
    RecordingPort port(static_cast<HRESULT>(0x80070032));
    InstallAndLoadDriver(Environment(port));

    EXPECT_EQ(port.calls(),
              (std::vector<std::wstring>{L"load " + serviceName, L"unload " + serviceName}));
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].text, L"加密驱动加载失败，错误码: 0x80070032");
    EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    // The registration stays for the next attempt and for the next system start.
    EXPECT_TRUE(
        RegistryKeyExists(DriverServiceKey(serviceName) + L"\\Instances\\Brambolt Instance1000"));
}

TEST_F(InstallFixture, TheBoxShowsEveryLoadResultInEightHexDigits) {
    RecordingPort port(static_cast<HRESULT>(0x801F0012));
    InstallAndLoadDriver(Environment(port));
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].text, L"加密驱动加载失败，错误码: 0x801F0012");
}

TEST_F(InstallFixture, ASuccessfulLoadKeepsTheFilterAndShowsNothing) {
    RecordingPort port(S_OK);
    InstallAndLoadDriver(Environment(port));
    EXPECT_EQ(port.calls(), std::vector<std::wstring>{L"load " + serviceName});
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(RegistryKeyExists(kMinimalKey));
    EXPECT_TRUE(RegistryKeyExists(kNetworkKey));
}

TEST_F(InstallFixture, InstallsFromTwoThreadsRunOneAfterTheOther) {
    RecordingPort port(S_OK);
    std::mutex mutex;
    std::condition_variable changed;
    int inside = 0;
    bool overlapped = false;
    std::thread second;
    const DriverRegistrationEnvironment environment = Environment(port);

    port.onLoad = [&] {
        std::unique_lock lock(mutex);
        overlapped = overlapped || inside > 0;
        ++inside;
        if (!second.joinable()) {
            // While this load runs, a second install starts; it must wait for this one to end.
            second = std::thread([&] { InstallAndLoadDriver(environment); });
            changed.wait_for(lock, std::chrono::milliseconds(300), [&] { return inside > 1; });
        }
        --inside;
        changed.notify_all();
    };
    InstallAndLoadDriver(environment);
    second.join();

    EXPECT_FALSE(overlapped);
    EXPECT_EQ(port.calls().size(), 2U);
}

TEST_F(InstallFixture, EnsureDriverDoesNothingWhenTheDriverAnswers) {
    RecordingPort port(S_OK);
    pings = {true};
    EnsureDriver(Environment(port));
    EXPECT_TRUE(port.calls().empty());
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(RegistryKeyExists(DriverServiceKey(serviceName)));
}

TEST_F(InstallFixture, EnsureDriverInstallsAndIsQuietWhenTheDriverThenAnswers) {
    RecordingPort port(S_OK);
    pings = {false, true};
    EnsureDriver(Environment(port));
    EXPECT_EQ(port.calls(), std::vector<std::wstring>{L"load " + serviceName});
    EXPECT_TRUE(messages.empty());
}

TEST_F(InstallFixture, EnsureDriverReportsADriverThatStillDoesNotAnswer) {
    RecordingPort port(static_cast<HRESULT>(0x80070032));
    pings = {false, false};
    EnsureDriver(Environment(port));
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_EQ(messages[0].text, L"加密驱动加载失败，错误码: 0x80070032");
    EXPECT_EQ(messages[1].text,
              L"安装加密驱动失败，请检查是否被安全软件阻止，若多次设置失败请重启电脑再试。\n"
              L"解决问题后请重新设置加密功能");
    EXPECT_EQ(messages[1].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
}

TEST_F(InstallFixture, UninstallRemovesTheServiceTreeAndTheListButKeepsSafeBoot) {
    RecordingPort port(S_OK);
    InstallAndLoadDriver(Environment(port));
    {
        const UniqueFile list(::CreateFileW(lockListPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(list.valid());
    }

    pings = {true};
    UninstallDriver(Environment(port));

    EXPECT_EQ(port.calls().back(), L"unload " + serviceName);
    EXPECT_FALSE(RegistryKeyExists(DriverServiceKey(serviceName)));
    EXPECT_EQ(::GetFileAttributesW(lockListPath.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(RegistryKeyExists(kMinimalKey));
    EXPECT_TRUE(RegistryKeyExists(kNetworkKey));
}

TEST_F(InstallFixture, UninstallWithoutAnAnsweringDriverDoesNotUnload) {
    RecordingPort port(S_OK);
    InstallAndLoadDriver(Environment(port));
    pings = {false};
    UninstallDriver(Environment(port));
    EXPECT_EQ(port.calls(), std::vector<std::wstring>{L"load " + serviceName});
    EXPECT_FALSE(RegistryKeyExists(DriverServiceKey(serviceName)));
}

}  // namespace
}  // namespace brambolt
