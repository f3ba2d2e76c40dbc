#include "brambolt/app/kelda_app.h"

#include <commctrl.h>

#include "brambolt/app/brambolt_main.h"
#include "brambolt/app/credential_gate.h"
#include "brambolt/app/startup_steps.h"
#include "brambolt/base/program_directory.h"
#include "brambolt/folders/commit_thread.h"
#include "brambolt/folders/kelda_dlg.h"
#include "brambolt/folders/window_handle_store.h"

namespace brambolt {

namespace {
CKeldaApp theApp;
}  // namespace

BOOL CKeldaApp::InitInstance() {
    if (!ole_.Start()) {
        return FALSE;
    }
    // The program takes no arguments: whatever the command line holds is ignored.
    static_cast<void>(::GetCommandLineW());

    EnableLoadDriverPrivilege();
    RecordProgramDirectory();
    if (!DriverFilePresent(ProgramDirectory())) {
        ReportDamagedInstallation();
        return FALSE;
    }

    // Read in every instance, before the single-instance test.
    const std::uint64_t storedWindow = ReadStoredWindowHandle();

    INITCOMMONCONTROLSEX controls{8, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    if (WakeRunningInstance(storedWindow)) {
        return FALSE;
    }
    // A failure leaves the program running without the guard.
    singleInstanceMutex_.reset(::CreateMutexW(nullptr, TRUE, kSingleInstanceMutex));

    if (!PassCredentialGate()) {
        return FALSE;
    }

    CKeldaDlg mainDialog;
    mainDialog.DoModal();  // however it ends, the program ends
    // The window has waited for its commits on every way out; none may be cut off by the exit.
    WaitForPendingCommits();
    return FALSE;
}

int CKeldaApp::ExitInstance() {
    if (singleInstanceMutex_) {
        ::ReleaseMutex(singleInstanceMutex_.get());
    }
    ole_.Stop();
    return CWinApp::ExitInstance();
}

int RunBrambolt(HINSTANCE instance) {
    return RunApplication(instance);
}

}  // namespace brambolt
