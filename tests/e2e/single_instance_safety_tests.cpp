// A second start under hostile conditions, end to end with the shipped Brambolt.exe: the wake-up
// reaches only a Brambolt main window of this user, the stored handle goes when the main window
// does, and a mutex held without such a window is reported instead of ending silently.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <string>

#include "automation.h"
#include "brambolt/base/unique_handle.h"
#include "scene.h"

namespace e2e {
namespace {

constexpr wchar_t kMutexName[] = L"OrinKelda";
constexpr UINT kWakeMessage = WM_USER + 102;
constexpr wchar_t kAlreadyRunning[] = L"程序已经在运行，请勿重复启动。";

class SingleInstanceSafety : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(MutexExists(kMutexName)) << "a Brambolt instance is still running";
        DeleteStoredWindowValue();
        program_ = PrepareInstallation(L"single-instance", WindowsPath(E2E_BRAMBOLT_EXE), true);
        ASSERT_FALSE(program_.empty());
    }

    void TearDown() override {
        for (auto& process : started_) {
            if (!winauto::WaitForExit(process.process.get(), 0ms).has_value()) {
                ::TerminateProcess(process.process.get(), 1);
                winauto::WaitForExit(process.process.get(), kExitBound);
            }
        }
        DeleteStoredWindowValue();
    }

    winauto::StartedProcess& Start() {
        auto started = winauto::StartProgram(program_, L"");
        if (!started) {
            throw std::runtime_error("Brambolt did not start");
        }
        started_.push_back(std::move(*started));
        return started_.back();
    }
    static HWND WaitForTopLevel(DWORD processId, const wchar_t* caption) {
        winauto::WindowQuery query;
        query.caption = caption;
        query.className = kDialogClass;
        query.processId = processId;
        query.visibleOnly = true;
        return winauto::WaitForWindow(query, kWindowBound);
    }
    // A second start that finds no main window to wake: it says so, then ends.
    void ExpectAlreadyRunningBox(const winauto::StartedProcess& second) {
        HWND box = WaitForTopLevel(second.processId, L"提示");
        ASSERT_NE(box, nullptr) << "the second start did not say that Brambolt runs";
        const auto content = winauto::ReadMessageBox(box);
        ASSERT_TRUE(content.has_value());
        EXPECT_EQ(content->text, kAlreadyRunning);
        EXPECT_EQ(content->icon, winauto::IconKind::Information)
            << winauto::IconName(content->icon);
        ASSERT_TRUE(winauto::AnswerMessageBox(box, IDOK));
        EXPECT_TRUE(winauto::WaitForExit(second.process.get(), kExitBound).has_value());
    }
    static void CloseMainWindow(HWND window, const winauto::StartedProcess& process) {
        ASSERT_TRUE(winauto::PressButton(window, IDOK));
        ASSERT_TRUE(winauto::WaitForExit(process.process.get(), kExitBound).has_value());
    }

    std::wstring program_;
    std::deque<winauto::StartedProcess> started_;
};

TEST_F(SingleInstanceSafety, AForeignWindowInTheRegistryGetsNoWakeUp) {
    auto& first = Start();
    HWND main = WaitForTopLevel(first.processId, kMainCaption);
    ASSERT_NE(main, nullptr);
    ::ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(WaitUntilVisible(main, false));

    // A window of another program that looks like the main window in all but its process.
    const brambolt::UniqueHwnd foreign(::CreateWindowExW(
        0, kDialogClass, kMainCaption, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(foreign.valid());
    WriteStoredWindowValue(reinterpret_cast<std::uintptr_t>(foreign.get()));
    auto& second = Start();
    ExpectAlreadyRunningBox(second);
    MSG message{};
    EXPECT_FALSE(::PeekMessageW(&message, foreign.get(), kWakeMessage, kWakeMessage, PM_REMOVE))
        << "the foreign window was sent the wake-up";
    ASSERT_TRUE(DrainPostedMessages(main));
    EXPECT_FALSE(::IsWindowVisible(main));

    // The real main window's handle still wakes it.
    WriteStoredWindowValue(reinterpret_cast<std::uintptr_t>(main));
    auto& third = Start();
    EXPECT_TRUE(winauto::WaitForExit(third.process.get(), kExitBound).has_value());
    EXPECT_TRUE(WaitUntilVisible(main, true));
    CloseMainWindow(main, first);
}

TEST_F(SingleInstanceSafety, TheStoredHandleIsClearedWhenTheMainWindowEnds) {
    auto& first = Start();
    HWND main = WaitForTopLevel(first.processId, kMainCaption);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(StoredWindowValue(), reinterpret_cast<std::uintptr_t>(main));
    CloseMainWindow(main, first);
    EXPECT_EQ(StoredWindowValue().value_or(0), 0U) << "a later start would post to a dead handle";
}

TEST_F(SingleInstanceSafety, AMutexHeldWithoutAMainWindowIsReportedAsARunningBrambolt) {
    const brambolt::UniqueHandle held(::CreateMutexW(nullptr, TRUE, kMutexName));
    ASSERT_TRUE(held.valid());
    auto& second = Start();
    ExpectAlreadyRunningBox(second);
    winauto::WindowQuery mainWindow;
    mainWindow.caption = kMainCaption;
    mainWindow.processId = second.processId;
    EXPECT_TRUE(winauto::FindTopLevelWindows(mainWindow).empty());
}

}  // namespace
}  // namespace e2e
