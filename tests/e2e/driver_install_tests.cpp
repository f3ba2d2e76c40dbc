// Brambolt opening with protected folders while no driver answers: the main window starts the
// driver's installation in the background, and the system's Filter Manager refuses the load (Wine's
// answers 0x80070032), which the user learns from two boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "automation.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/user_names.h"
#include "scene.h"

namespace e2e {
namespace {

constexpr wchar_t kMutexName[] = L"OrinKelda";

// The first visible box of the process other than the main window and `answered`.
HWND WaitForBox(DWORD processId, HWND answered = nullptr) {
    const auto end = std::chrono::steady_clock::now() + kWindowBound;
    winauto::WindowQuery query;
    query.className = kDialogClass;
    query.processId = processId;
    query.visibleOnly = true;
    do {
        for (HWND window : winauto::FindTopLevelWindows(query)) {
            if (window != answered && winauto::WindowText(window) != kMainCaption) {
                return window;
            }
        }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

class DriverInstallation : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(MutexExists(kMutexName)) << "a Brambolt instance is still running";
        const auto path = brambolt::GetLockListPath();
        ASSERT_TRUE(path.has_value());
        lockList_ = *path;
        // The list file as the driver reads it: UTF-16 LE with its mark, one folder.
        const std::wstring entry = L"C:\\PROTECTED";
        std::ofstream file(std::filesystem::path(lockList_), std::ios::binary | std::ios::trunc);
        file.write("\xFF\xFE", 2);
        file.write(reinterpret_cast<const char*>(entry.data()),
                   static_cast<std::streamsize>(entry.size() * sizeof(wchar_t)));
        ASSERT_TRUE(file.good());
    }

    void TearDown() override {
        if (process_ && !winauto::WaitForExit(process_->process.get(), 0ms).has_value()) {
            ::TerminateProcess(process_->process.get(), 1);
            winauto::WaitForExit(process_->process.get(), kExitBound);
        }
        ::DeleteFileW(lockList_.c_str());
        const std::wstring service =
            L"SYSTEM\\CurrentControlSet\\Services\\" + brambolt::GetDriverServiceName();
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, service.c_str());
    }

    std::wstring lockList_;
    std::optional<winauto::StartedProcess> process_;
};

TEST_F(DriverInstallation, RefusedLoadShowsItsCodeThenTheInstallationFailure) {
    const std::wstring program =
        PrepareInstallation(L"driver-install", WindowsPath(E2E_BRAMBOLT_EXE), true);
    ASSERT_FALSE(program.empty());
    process_ = winauto::StartProgram(program, L"");
    ASSERT_TRUE(process_.has_value());

    HWND loadBox = WaitForBox(process_->processId);
    ASSERT_NE(loadBox, nullptr) << "no box about the refused load";
    const auto load = winauto::ReadMessageBox(loadBox);
    ASSERT_TRUE(load.has_value());
    EXPECT_EQ(load->caption, L"Brambolt");
    EXPECT_EQ(load->text, L"加密驱动加载失败，错误码: 0x80070032");
    ASSERT_EQ(load->buttons.size(), 1U);

    // The main window is up meanwhile, showing the list it read without the driver.
    winauto::WindowQuery mainQuery;
    mainQuery.caption = kMainCaption;
    mainQuery.processId = process_->processId;
    HWND main = winauto::WaitForWindow(mainQuery, kWindowBound);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(winauto::ListBoxRows(::GetDlgItem(main, IDC_FOLDER_LIST)),
              std::vector<std::wstring>{L"C:\\PROTECTED"});

    ASSERT_TRUE(winauto::AnswerMessageBox(loadBox, load->buttons[0].id));
    HWND failureBox = WaitForBox(process_->processId, loadBox);
    ASSERT_NE(failureBox, nullptr);
    const auto failure = winauto::ReadMessageBox(failureBox);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->caption, L"Brambolt");
    EXPECT_EQ(failure->text,
              L"安装加密驱动失败，请检查是否被安全软件阻止，若多次设置失败请重启电脑再试。\n"
              L"解决问题后请重新设置加密功能");
    EXPECT_EQ(failure->icon, winauto::IconKind::Warning) << winauto::IconName(failure->icon);
    ASSERT_TRUE(winauto::AnswerMessageBox(failureBox, failure->buttons.at(0).id));

    // The registration was written before the load was tried.
    const std::wstring service =
        L"SYSTEM\\CurrentControlSet\\Services\\" + brambolt::GetDriverServiceName();
    brambolt::UniqueHkey key;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, service.c_str(), 0, KEY_READ, key.put()),
              ERROR_SUCCESS);

    ASSERT_TRUE(winauto::PressButton(main, IDOK));
    EXPECT_TRUE(winauto::WaitForExit(process_->process.get(), kExitBound).has_value());
}

}  // namespace
}  // namespace e2e
