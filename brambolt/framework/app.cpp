#include "brambolt/framework/app.h"

#include <commctrl.h>

#include <array>

#include "brambolt/base/text_conversion.h"
#include "brambolt/framework/dialog.h"
#include "brambolt/framework/message_box_rules.h"

namespace brambolt {

namespace {
CWinApp* g_application = nullptr;

std::wstring ModuleBaseName() {
    std::array<wchar_t, MAX_PATH> path{};
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return ToWide(ExecutableBaseName(ToUtf16(std::wstring_view(path.data(), length))));
}
}  // namespace

CWinApp::CWinApp() : appName_(ModuleBaseName()) {
    g_application = this;
}

CWinApp::~CWinApp() {
    if (g_application == this) {
        g_application = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    // SysLink is not among the classes the program registers itself.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::Run() {
    MSG message{};
    BOOL got = FALSE;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return -1;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

CWinApp* AfxGetApp() noexcept {
    return g_application;
}

int RunApplication(HINSTANCE instance) {
    CWinApp* application = AfxGetApp();
    if (application == nullptr) {
        return -1;
    }
    application->instance_ = instance;
    if (application->InitInstance() != FALSE) {
        application->Run();
    }
    return application->ExitInstance();
}

}  // namespace brambolt
