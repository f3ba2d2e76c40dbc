#include "password_scene.h"

#include <filesystem>
#include <vector>

#include "brambolt/base/text_conversion.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/password/password_hash.h"

namespace e2e {

void PasswordScene::SetUp() {
    const auto path = brambolt::GetCredentialRecordPath();
    ASSERT_TRUE(path.has_value());
    recordPath_ = *path;
    ::DeleteFileW(recordPath_.c_str());
    DeleteStoredWindowValue();
}

void PasswordScene::TearDown() {
    // A scene that failed half-way leaves its program behind; it must not spoil the next.
    for (auto& process : started_) {
        if (!winauto::WaitForExit(process.process.get(), 0ms).has_value()) {
            ::TerminateProcess(process.process.get(), 1);
            winauto::WaitForExit(process.process.get(), kExitBound);
        }
    }
    ::DeleteFileW(recordPath_.c_str());
}

void PasswordScene::SaveRecordWithHash(std::u16string_view hash) {
    brambolt::CredentialRecord record{};
    brambolt::SetFieldText(record.passwordHash, hash);
    ASSERT_TRUE(brambolt::SaveCredentialRecord(record));
    ASSERT_TRUE(std::filesystem::exists(recordPath_));
}

void PasswordScene::SaveRecordWithPassword(const std::wstring& password) {
    const std::wstring hash = brambolt::HashPassword(password);
    ASSERT_EQ(hash.size(), 64U);
    SaveRecordWithHash(brambolt::ToUtf16(hash));
}

std::optional<brambolt::CredentialRecord> PasswordScene::LoadRecord() const {
    brambolt::CredentialRecord record{};
    bool loaded = false;
    brambolt::LoadCredentialRecord(recordPath_, record, loaded);
    return loaded ? std::optional(record) : std::nullopt;
}

winauto::StartedProcess& PasswordScene::StartBrambolt() {
    const std::wstring program =
        PrepareInstallation(L"password", WindowsPath(E2E_BRAMBOLT_EXE), true);
    auto started = winauto::StartProgram(program, L"");
    if (!started.has_value()) {
        throw std::runtime_error("Brambolt did not start");
    }
    started_.push_back(std::move(*started));
    return started_.back();
}

HWND PasswordScene::WaitForTopLevel(DWORD processId, const wchar_t* caption) {
    winauto::WindowQuery query;
    query.caption = caption;
    query.processId = processId;
    query.visibleOnly = true;
    return winauto::WaitForWindow(query, kWindowBound);
}

HWND PasswordScene::WaitForMainWindow(DWORD processId) {
    return WaitForTopLevel(processId, kMainCaption);
}

HWND PasswordScene::WaitForPrompt(DWORD processId) {
    return WaitForTopLevel(processId, kPromptCaption);
}

std::optional<winauto::MessageBoxContent> PasswordScene::AnswerBox(DWORD processId,
                                                                   const wchar_t* caption,
                                                                   int answer) {
    winauto::WindowQuery query;
    query.caption = caption;
    query.className = kDialogClass;
    query.processId = processId;
    query.visibleOnly = true;
    HWND box = winauto::WaitForWindow(query, kWindowBound);
    if (box == nullptr) {
        ADD_FAILURE() << "no box captioned " << testing::PrintToString(std::wstring(caption));
        return std::nullopt;
    }
    auto content = winauto::ReadMessageBox(box);
    EXPECT_TRUE(winauto::AnswerMessageBox(box, answer));
    EXPECT_TRUE(WaitUntil([box] { return ::IsWindow(box) == FALSE; })) << "the box stayed";
    return content;
}

void PasswordScene::EnterAtPrompt(HWND prompt, const std::wstring& password, bool withEnterKey) {
    ASSERT_TRUE(winauto::SetControlText(prompt, kPromptEdit, password));
    if (withEnterKey) {
        ASSERT_TRUE(winauto::Post(::GetDlgItem(prompt, kPromptEdit), WM_KEYDOWN, VK_RETURN, 0));
    } else {
        ASSERT_TRUE(winauto::PressButton(prompt, IDOK));
    }
}

void PasswordScene::CloseMainWindow(HWND window, const winauto::StartedProcess& process) {
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    EXPECT_TRUE(winauto::WaitForExit(process.process.get(), kExitBound).has_value())
        << "Brambolt did not end after OK";
}

void PasswordScene::ExpectEndWithoutMainWindow(const winauto::StartedProcess& process) {
    std::optional<DWORD> exitCode;
    const std::vector<HWND> windows = VisibleWindowsUntilExit(process, exitCode);
    ASSERT_TRUE(exitCode.has_value()) << "Brambolt kept running";
    for (HWND window : windows) {
        EXPECT_NE(winauto::WindowText(window), kMainCaption) << "the main window opened";
    }
    EXPECT_FALSE(StoredWindowValue().has_value()) << "the main window was created";
}

}  // namespace e2e
