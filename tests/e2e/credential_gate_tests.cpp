// Start-up with a sealed credential record in the data folder: a record without a password opens
// the main window; a record with one never does until it has been asked for.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "automation.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"
#include "scene.h"

namespace e2e {
namespace {

class CredentialGate : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto path = brambolt::GetCredentialRecordPath();
        ASSERT_TRUE(path.has_value());
        recordPath_ = *path;
        DeleteStoredWindowValue();
    }
    void TearDown() override { ::DeleteFileW(recordPath_.c_str()); }

    // Seals a record with the given hash text, as a Set-password dialog would leave it.
    void SaveRecord(std::u16string_view hash) {
        brambolt::CredentialRecord record{};
        brambolt::SetFieldText(record.passwordHash, hash);
        ASSERT_TRUE(brambolt::SaveCredentialRecord(record));
        ASSERT_TRUE(std::filesystem::exists(recordPath_));
    }

    std::optional<winauto::StartedProcess> StartBrambolt() {
        const std::wstring program =
            PrepareInstallation(L"credential-gate", WindowsPath(E2E_BRAMBOLT_EXE), true);
        return winauto::StartProgram(program, L"");
    }

    std::wstring recordPath_;
};

TEST_F(CredentialGate, RecordWithoutPasswordOpensTheMainWindow) {
    SaveRecord(u"X");  // one character counts as no password
    auto brambolt = StartBrambolt();
    ASSERT_TRUE(brambolt.has_value());
    winauto::WindowQuery query;
    query.caption = kMainCaption;
    query.processId = brambolt->processId;
    query.visibleOnly = true;
    HWND main = winauto::WaitForWindow(query, kWindowBound);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(winauto::PressButton(main, IDOK));
    EXPECT_TRUE(winauto::WaitForExit(brambolt->process.get(), kExitBound).has_value());
}

TEST_F(CredentialGate, RecordWithPasswordNeverOpensTheMainWindowUnasked) {
    SaveRecord(u"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    auto brambolt = StartBrambolt();
    ASSERT_TRUE(brambolt.has_value());
    std::optional<DWORD> exitCode;
    const std::vector<HWND> windows = VisibleWindowsUntilExit(*brambolt, exitCode);
    ASSERT_TRUE(exitCode.has_value()) << "Brambolt kept running";
    for (HWND window : windows) {
        EXPECT_NE(winauto::WindowText(window), kMainCaption);
    }
    EXPECT_FALSE(StoredWindowValue().has_value()) << "the main window was created";
}

}  // namespace
}  // namespace e2e
