// The stage of the password scenes: Brambolt installed and started with or without a sealed
// credential record, its password windows found, and programs left running by a failed scene
// ended.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <optional>
#include <string>

#include "automation.h"
#include "brambolt/password/credential_record.h"
#include "scene.h"

namespace e2e {

inline constexpr wchar_t kPromptCaption[] = L"独立保护口令验证";
inline constexpr wchar_t kSetPasswordCaption[] = L"请设置独立密码";
inline constexpr wchar_t kProgramName[] = L"Brambolt";  // the caption of application boxes
inline constexpr int kPromptEdit = 20001;
inline constexpr int kForgotPassword = 20002;

class PasswordScene : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Seals a record holding the given hash text, as a Set-password dialog leaves it.
    void SaveRecordWithHash(std::u16string_view hash);
    void SaveRecordWithPassword(const std::wstring& password);
    // The record's file as a fresh start-up would load it.
    [[nodiscard]] std::optional<brambolt::CredentialRecord> LoadRecord() const;

    winauto::StartedProcess& StartBrambolt();
    static HWND WaitForTopLevel(DWORD processId, const wchar_t* caption);
    static HWND WaitForMainWindow(DWORD processId);
    static HWND WaitForPrompt(DWORD processId);
    // Reads the box, then presses the button; the box is gone on return.
    static std::optional<winauto::MessageBoxContent> AnswerBox(DWORD processId,
                                                               const wchar_t* caption, int answer);
    // Types the password into the prompt and presses 确定 (or Enter in the edit control).
    static void EnterAtPrompt(HWND prompt, const std::wstring& password, bool withEnterKey = false);
    static void CloseMainWindow(HWND window, const winauto::StartedProcess& process);
    // Waits for the process to end and checks that the main window never showed.
    static void ExpectEndWithoutMainWindow(const winauto::StartedProcess& process);

    std::wstring recordPath_;

  private:
    std::deque<winauto::StartedProcess> started_;
};

}  // namespace e2e
