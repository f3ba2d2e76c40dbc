// A stand-in WebView2 runtime for the tests, built as "WebView2Loader.dll": the loader's two
// functions and a scripted environment, controller and view over a plain child window. Placed
// beside Brambolt.exe (or a test program) under Wine, it lets the program's real binding code
// run end to end. It is never installed with the program.
//
// Its folder holds the script "webview-script.txt" (page_script.h), read again at every version
// query, environment, controller and navigation, and the log "webview.log", UTF-8, one line per
// call: version, environment, controller, bounds <l> <t> <r> <b>, navigate <address>,
// navigatetostring <characters>, starting <address> <cancelled 0|1>,
// completed <address> <success 0|1>, zoom <factor>, close, and for a page's request of a new
// window newwindow <address> refused|opened (opened: an unhandled request, for which the stand-in,
// as the runtime does, opens a top-level window of class "BramboltWebView2StandInPopup" captioned
// with the address). "webview-settings.log" beside it records what the program gave, one line
// each: UserDataFolder <folder or (none)>, and every setting put as <name> <0|1>
// (AreDevToolsEnabled, AreDefaultContextMenusEnabled, IsStatusBarEnabled,
// AreBrowserAcceleratorKeysEnabled, AllowExternalDrop, ...).
//
// Like the real runtime, every completion and event arrives later, on the calling thread, through
// its message loop: each step is a task posted to a message-only window of the stand-in.
#include <windows.h>

#include <objbase.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <deque>
#include <functional>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "brambolt/base/com_ref.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/testbench/webview2_stand_in/page_script.h"
#include "brambolt/web/webview2_abi.h"
#include "brambolt/web/webview2_lockdown_abi.h"

namespace brambolt::testbench {
namespace {

using namespace brambolt::webview2;

constexpr wchar_t kVersion[] = L"156.0.4314.35";

HMODULE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::wstring OwnFolder() {
    std::array<wchar_t, MAX_PATH + 1> path{};
    const DWORD length =
        ::GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data(), length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          size, nullptr, nullptr);
    return bytes;
}

void AppendLine(const wchar_t* name, const std::wstring& line) {
    const UniqueFile log(::CreateFileW((OwnFolder() + L"\\" + name).c_str(), FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) {
        return;
    }
    const std::string bytes = Utf8(line) + "\n";
    DWORD written = 0;
    ::WriteFile(log.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Log(const std::wstring& line) {
    AppendLine(L"webview.log", line);
}

void RecordSetting(const std::wstring& name, BOOL value) {
    AppendLine(L"webview-settings.log", name + (value != FALSE ? L" 1" : L" 0"));
}

PageScript ReadScript() {
    const UniqueFile file(::CreateFileW((OwnFolder() + L"\\webview-script.txt").c_str(),
                                        GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    std::string bytes;
    std::array<char, 4096> chunk{};
    DWORD got = 0;
    while (::ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) !=
               FALSE &&
           got > 0) {
        bytes.append(chunk.data(), got);
    }
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                          size);
    return ParsePageScript(text);
}

LPWSTR TaskMemCopy(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
    if (copy != nullptr) {
        std::memcpy(copy, text.c_str(), bytes);
    }
    return copy;
}

// Tasks run one per posted message, in order, on the thread that made the first request.
class TaskQueue {
  public:
    static TaskQueue& Instance() {
        static TaskQueue queue;
        return queue;
    }
    void Post(std::function<void()> task) {
        tasks_.push_back(std::move(task));
        ::PostMessageW(window_, WM_APP, 0, 0);
    }
    // Queued tasks and the one running now.
    [[nodiscard]] int Busy() const { return static_cast<int>(tasks_.size()) + running_; }

  private:
    TaskQueue() {
        WNDCLASSEXW description{};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = &TaskQueue::Procedure;
        description.hInstance = ThisModule();
        description.lpszClassName = L"BramboltWebView2StandInTasks";
        ::RegisterClassExW(&description);
        window_ = ::CreateWindowExW(0, description.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, ThisModule(), nullptr);
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            Instance().RunOne();
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    void RunOne() {
        if (tasks_.empty()) {
            return;
        }
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        ++running_;
        task();
        --running_;
    }

    HWND window_ = nullptr;
    std::deque<std::function<void()>> tasks_;
    int running_ = 0;
};

// Answers for IUnknown and every interface id given: the interface and the ones it extends.
template <typename Interface, const IID&... kInterfaceIds>
class ComObject : public Interface {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (::IsEqualIID(id, IID_IUnknown) || (::IsEqualIID(id, kInterfaceIds) || ...)) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

  protected:
    virtual ~ComObject() = default;

  private:
    ULONG references_ = 1;
};

class StartingArgs final : public ComObject<ICoreWebView2NavigationStartingEventArgs,
                                            IID_ICoreWebView2NavigationStartingEventArgs> {
  public:
    explicit StartingArgs(std::wstring uri) : uri_(std::move(uri)) {}
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override {
        *uri = TaskMemCopy(uri_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) override {
        *cancel = cancel_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override {
        cancel_ = cancel;
        return S_OK;
    }

  private:
    std::wstring uri_;
    BOOL cancel_ = FALSE;
};

class CompletedArgs final : public ComObject<ICoreWebView2NavigationCompletedEventArgs,
                                             IID_ICoreWebView2NavigationCompletedEventArgs> {
  public:
    CompletedArgs(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status)
        : success_(success), status_(status) {}
    HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) override {
        *isSuccess = success_ ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* status) override {
        *status = status_;
        return S_OK;
    }

  private:
    bool success_;
    COREWEBVIEW2_WEB_ERROR_STATUS status_;
};

// The view's settings, all on at first as in the runtime; every value put is recorded.
class Settings final : public ComObject<ICoreWebView2Settings3, IID_ICoreWebView2Settings,
                                        IID_ICoreWebView2Settings2, IID_ICoreWebView2Settings3> {
  public:
    HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL enabled) override {
        return Put(L"IsStatusBarEnabled", enabled);
    }
    HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL enabled) override {
        return Put(L"AreDevToolsEnabled", enabled);
    }
    HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL enabled) override {
        return Put(L"AreDefaultContextMenusEnabled", enabled);
    }
    HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL enabled) override {
        return Put(L"IsScriptEnabled", enabled);
    }
    HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL enabled) override {
        return Put(L"IsWebMessageEnabled", enabled);
    }
    HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL allowed) override {
        return Put(L"AreHostObjectsAllowed", allowed);
    }
    HRESULT STDMETHODCALLTYPE put_AreBrowserAcceleratorKeysEnabled(BOOL enabled) override {
        return Put(L"AreBrowserAcceleratorKeysEnabled", enabled);
    }

  private:
    static HRESULT Put(const wchar_t* name, BOOL value) {
        RecordSetting(name, value);
        return S_OK;
    }
};

class NewWindowArgs final : public ComObject<ICoreWebView2NewWindowRequestedEventArgs,
                                             IID_ICoreWebView2NewWindowRequestedEventArgs> {
  public:
    explicit NewWindowArgs(std::wstring uri) : uri_(std::move(uri)) {}
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override {
        *uri = TaskMemCopy(uri_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override {
        handled_ = handled;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override {
        *handled = handled_;
        return S_OK;
    }

  private:
    std::wstring uri_;
    BOOL handled_ = FALSE;
};

// The window the runtime opens for a request that nobody handled: a plain top-level window.
HWND OpenPopup(const std::wstring& uri) {
    constexpr wchar_t kPopupClass[] = L"BramboltWebView2StandInPopup";
    WNDCLASSEXW description{};
    description.cbSize = sizeof(description);
    description.lpfnWndProc = ::DefWindowProcW;
    description.hInstance = ThisModule();
    description.lpszClassName = kPopupClass;
    ::RegisterClassExW(&description);
    return ::CreateWindowExW(0, kPopupClass, uri.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             400, 300, nullptr, nullptr, ThisModule(), nullptr);
}

// The visible text of an HTML page: the body without its tags.
std::wstring VisibleText(const std::wstring& html) {
    std::size_t at = html.find(L"<body");
    at = at == std::wstring::npos ? 0 : at;
    std::wstring text;
    bool inTag = false;
    for (; at < html.size(); ++at) {
        if (html[at] == L'<') {
            inTag = true;
        } else if (html[at] == L'>') {
            inTag = false;
        } else if (!inTag) {
            text.push_back(html[at]);
        }
    }
    const std::size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

// The child window that shows the page: an HTML text's visible text in a white box on light grey,
// or the address of a loaded page, or an error line for a failed one.
class PageWindow {
  public:
    static HWND Create(HWND parent) {
        WNDCLASSEXW description{};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = &PageWindow::Procedure;
        description.hInstance = ThisModule();
        description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        description.lpszClassName = kClass;
        ::RegisterClassExW(&description);
        return ::CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                                 0, parent, nullptr, ThisModule(), nullptr);
    }
    static void Show(HWND page, const std::wstring& text, bool boxed) {
        ::SetWindowTextW(page, text.c_str());
        ::SetPropW(page, L"boxed", boxed ? reinterpret_cast<HANDLE>(1) : nullptr);
        ::InvalidateRect(page, nullptr, TRUE);
    }

  private:
    static constexpr wchar_t kClass[] = L"BramboltWebView2StandInPage";

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            Paint(window);
            return 0;
        }
        if (message == WM_ERASEBKGND) {
            return 1;
        }
        if (message == WM_NCDESTROY) {
            ::RemovePropW(window, L"boxed");
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    static void Paint(HWND window) {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(window, &paint);
        RECT client{};
        ::GetClientRect(window, &client);
        HBRUSH background = ::CreateSolidBrush(RGB(0xF5, 0xF5, 0xF5));
        ::FillRect(dc, &client, background);
        ::DeleteObject(background);
        std::array<wchar_t, 2048> text{};
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
        HFONT font = ::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                   0, CLEARTYPE_QUALITY, 0, L"Microsoft YaHei");
        HGDIOBJ previous = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        RECT box{client.left + 10, client.top + 10, client.right - 10, client.top + 45};
        if (::GetPropW(window, L"boxed") != nullptr) {
            HBRUSH white = ::CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
            HPEN border = ::CreatePen(PS_SOLID, 1, RGB(0xDC, 0xDC, 0xDC));
            HGDIOBJ oldBrush = ::SelectObject(dc, white);
            HGDIOBJ oldPen = ::SelectObject(dc, border);
            ::RoundRect(dc, box.left, box.top, box.right, box.bottom, 12, 12);
            ::SelectObject(dc, oldPen);
            ::SelectObject(dc, oldBrush);
            ::DeleteObject(border);
            ::DeleteObject(white);
            ::DrawTextW(dc, text.data(), -1, &box,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        } else {
            RECT area = client;
            ::InflateRect(&area, -10, -10);
            ::DrawTextW(dc, text.data(), -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
        }
        ::SelectObject(dc, previous);
        ::DeleteObject(font);
        ::EndPaint(window, &paint);
    }
};

class View;
View* latestView = nullptr;  // the page that WebView2StandInPageNavigate drives

class View final : public ComObject<ICoreWebView2, IID_ICoreWebView2> {
  public:
    explicit View(HWND page)
        : page_(page), settings_(ComRef<Settings>::Adopt(new (std::nothrow) Settings())) {
        latestView = this;
    }

    void Close() {
        closed_ = true;
        starting_.clear();
        completed_.clear();
        newWindow_.clear();
        for (HWND popup : popups_) {
            ::DestroyWindow(popup);
        }
        popups_.clear();
        if (latestView == this) {
            latestView = nullptr;
        }
    }

    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override {
        *settings = settings_.get();
        settings_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* eventHandler,
                           EventRegistrationToken* token) override {
        token->value = ++lastToken_;
        newWindow_.emplace(token->value,
                           ComRef<ICoreWebView2NewWindowRequestedEventHandler>(eventHandler));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override {
        newWindow_.erase(token.value);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override {
        *uri = TaskMemCopy(source_);
        return *uri != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override {
        Log(std::wstring(L"navigate ") + uri);
        Post(uri, std::nullopt);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override {
        Log(L"navigatetostring " + std::to_wstring(std::wcslen(htmlContent)));
        Post(L"about:blank", std::wstring(htmlContent));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler,
                           EventRegistrationToken* token) override {
        token->value = ++lastToken_;
        starting_.emplace(token->value,
                          ComRef<ICoreWebView2NavigationStartingEventHandler>(eventHandler));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override {
        starting_.erase(token.value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                            EventRegistrationToken* token) override {
        token->value = ++lastToken_;
        completed_.emplace(token->value,
                           ComRef<ICoreWebView2NavigationCompletedEventHandler>(eventHandler));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override {
        completed_.erase(token.value);
        return S_OK;
    }

    // A navigation the page starts by itself.
    void Post(std::wstring uri, std::optional<std::wstring> html) {
        ComRef<View> self(this);
        TaskQueue::Instance().Post(
            [self, uri = std::move(uri), html = std::move(html)] { self->Start(uri, html); });
    }

  private:
    void Start(const std::wstring& uri, const std::optional<std::wstring>& html) {
        if (closed_) {
            return;
        }
        const auto args = ComRef<ICoreWebView2NavigationStartingEventArgs>::Adopt(
            new (std::nothrow) StartingArgs(uri));
        for (const auto& [token, handler] : Handlers(starting_)) {
            handler->Invoke(this, args.get());
        }
        BOOL cancelled = FALSE;
        args->get_Cancel(&cancelled);
        Log(L"starting " + uri + (cancelled != FALSE ? L" 1" : L" 0"));
        ComRef<View> self(this);
        if (cancelled != FALSE) {
            TaskQueue::Instance().Post([self, uri] {
                self->Complete(uri, false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
            });
            return;
        }
        source_ = uri;
        const PageScript script = ReadScript();
        const PageRule* rule = script.NavigationRule(uri);
        if (rule != nullptr && rule->kind == PageRule::Kind::Redirect) {
            Post(rule->target, std::nullopt);
            return;
        }
        const bool success = rule == nullptr;
        if (success) {
            PageWindow::Show(page_, html.has_value() ? VisibleText(*html) : uri, html.has_value());
        } else {
            PageWindow::Show(page_, L"\u65e0\u6cd5\u8bbf\u95ee\u6b64\u9875\u9762: " + uri, false);
        }
        TaskQueue::Instance().Post([self, uri, success] {
            self->Complete(uri, success,
                           success ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN
                                   : COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT);
        });
    }

    void Complete(const std::wstring& uri, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status) {
        if (closed_) {
            return;
        }
        Log(L"completed " + uri + (success ? L" 1" : L" 0"));
        const auto args = ComRef<ICoreWebView2NavigationCompletedEventArgs>::Adopt(
            new (std::nothrow) CompletedArgs(success, status));
        for (const auto& [token, handler] : Handlers(completed_)) {
            handler->Invoke(this, args.get());
        }
        const PageScript script = ReadScript();
        const PageRule* rule = success ? script.NewWindowRule(uri) : nullptr;
        if (rule != nullptr) {
            ComRef<View> self(this);
            TaskQueue::Instance().Post(
                [self, target = rule->target] { self->AskForWindow(target); });
        }
    }

    void AskForWindow(const std::wstring& uri) {
        if (closed_) {
            return;
        }
        const auto args = ComRef<NewWindowArgs>::Adopt(new (std::nothrow) NewWindowArgs(uri));
        for (const auto& [token, handler] : Handlers(newWindow_)) {
            handler->Invoke(this, args.get());
        }
        BOOL handled = FALSE;
        args->get_Handled(&handled);
        if (handled == FALSE) {
            popups_.push_back(OpenPopup(uri));
        }
        Log(L"newwindow " + uri + (handled != FALSE ? L" refused" : L" opened"));
    }

    // A copy, because a handler may register or remove handlers while it runs.
    template <typename Map>
    static Map Handlers(const Map& handlers) {
        return handlers;
    }

    HWND page_;
    std::wstring source_ = L"about:blank";
    bool closed_ = false;
    std::int64_t lastToken_ = 0;
    std::map<std::int64_t, ComRef<ICoreWebView2NavigationStartingEventHandler>> starting_;
    std::map<std::int64_t, ComRef<ICoreWebView2NavigationCompletedEventHandler>> completed_;
    std::map<std::int64_t, ComRef<ICoreWebView2NewWindowRequestedEventHandler>> newWindow_;
    ComRef<Settings> settings_;
    std::vector<HWND> popups_;
};

class Controller final
    : public ComObject<ICoreWebView2Controller4, IID_ICoreWebView2Controller,
                       IID_ICoreWebView2Controller2, IID_ICoreWebView2Controller3,
                       IID_ICoreWebView2Controller4> {
  public:
    explicit Controller(HWND parent)
        : page_(PageWindow::Create(parent)),
          view_(ComRef<View>::Adopt(new (std::nothrow) View(page_))) {}

    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override {
        *bounds = bounds_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override {
        Log(L"bounds " + std::to_wstring(bounds.left) + L" " + std::to_wstring(bounds.top) + L" " +
            std::to_wstring(bounds.right) + L" " + std::to_wstring(bounds.bottom));
        bounds_ = bounds;
        ::MoveWindow(page_, bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top, TRUE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) override {
        *zoomFactor = zoom_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) override {
        std::array<wchar_t, 32> text{};
        std::swprintf(text.data(), text.size(), L"zoom %g", zoomFactor);
        Log(text.data());
        zoom_ = zoomFactor;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_AllowExternalDrop(BOOL value) override {
        RecordSetting(L"AllowExternalDrop", value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close() override {
        Log(L"close");
        Shut();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) override {
        *coreWebView2 = view_.get();
        view_->AddRef();
        return S_OK;
    }

  protected:
    // The last release closes a controller that was never closed, as the runtime does.
    ~Controller() override { Shut(); }

  private:
    void Shut() {
        view_->Close();
        if (page_ != nullptr && ::IsWindow(page_) != FALSE) {
            ::DestroyWindow(page_);
        }
        page_ = nullptr;
    }

    HWND page_;
    ComRef<View> view_;
    RECT bounds_{};
    double zoom_ = 1.0;
};

class Environment final : public ComObject<ICoreWebView2Environment, IID_ICoreWebView2Environment> {
  public:
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow,
        ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override {
        Log(L"controller");
        if (handler == nullptr) {
            return E_POINTER;
        }
        const bool refuse = ReadScript().Has(PageRule::Kind::NoController);
        ComRef<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> completed(handler);
        TaskQueue::Instance().Post([completed, parentWindow, refuse] {
            if (refuse) {
                completed->Invoke(E_FAIL, nullptr);
                return;
            }
            const auto controller =
                ComRef<ICoreWebView2Controller>::Adopt(new (std::nothrow) Controller(parentWindow));
            completed->Invoke(S_OK, controller.get());
        });
        return S_OK;
    }
};

}  // namespace
}  // namespace brambolt::testbench

using namespace brambolt::testbench;

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE
    GetAvailableCoreWebView2BrowserVersionString(PCWSTR /*browserExecutableFolder*/,
                                                 LPWSTR* versionInfo) {
    Log(L"version");
    if (versionInfo == nullptr) {
        return E_POINTER;
    }
    *versionInfo = nullptr;
    if (ReadScript().Has(PageRule::Kind::NoWebView)) {
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    *versionInfo = TaskMemCopy(kVersion);
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR /*browserExecutableFolder*/, PCWSTR userDataFolder,
    brambolt::webview2::ICoreWebView2EnvironmentOptions* /*environmentOptions*/,
    brambolt::webview2::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*
        environmentCreatedHandler) {
    Log(L"environment");
    AppendLine(L"webview-settings.log",
               std::wstring(L"UserDataFolder ") +
                   (userDataFolder != nullptr ? userDataFolder : L"(none)"));
    if (environmentCreatedHandler == nullptr) {
        return E_POINTER;
    }
    brambolt::ComRef<brambolt::webview2::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>
        completed(environmentCreatedHandler);
    TaskQueue::Instance().Post([completed] {
        const auto environment =
            brambolt::ComRef<brambolt::webview2::ICoreWebView2Environment>::Adopt(
                new (std::nothrow) Environment());
        completed->Invoke(S_OK, environment.get());
    });
    return S_OK;
}

// The Evergreen runtime client's own entry, so that the stand-in can also be placed as an
// installed runtime's "EmbeddedBrowserWebView.dll"; the same environment as the loader's.
extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE
    CreateWebViewEnvironmentWithOptionsInternal(
        bool /*checkRunningInstance*/, int /*runtimeType*/, PCWSTR userDataFolder,
        IUnknown* /*environmentOptions*/,
        brambolt::webview2::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*
            environmentCreatedHandler) {
    return CreateCoreWebView2EnvironmentWithOptions(nullptr, userDataFolder, nullptr,
                                                    environmentCreatedHandler);
}

// Test hooks, not part of the loader: how many steps are still to run on this thread, and a
// navigation that the page of the newest view starts by itself.
extern "C" __declspec(dllexport) int WebView2StandInBusy() {
    return TaskQueue::Instance().Busy();
}

extern "C" __declspec(dllexport) BOOL WebView2StandInPageNavigate(PCWSTR uri) {
    if (latestView == nullptr || uri == nullptr) {
        return FALSE;
    }
    latestView->Post(uri, std::nullopt);
    return TRUE;
}
