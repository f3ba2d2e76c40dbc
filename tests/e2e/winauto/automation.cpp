#include "automation.h"

#include <array>
#include <thread>

namespace winauto {

namespace {

using namespace std::chrono_literals;

struct Search {
    const WindowQuery* query;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    auto* search = reinterpret_cast<Search*>(context);
    const WindowQuery& query = *search->query;
    if (query.visibleOnly && ::IsWindowVisible(window) == FALSE) {
        return TRUE;
    }
    if (query.processId.has_value() && WindowProcess(window) != *query.processId) {
        return TRUE;
    }
    if (query.className.has_value() && WindowClass(window) != *query.className) {
        return TRUE;
    }
    if (query.caption.has_value() && WindowText(window) != *query.caption) {
        return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

struct ChildSearch {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    reinterpret_cast<ChildSearch*>(context)->children.push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    ChildSearch search;
    ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.children;
}

// GDI objects of a screen comparison, released in reverse order.
class Canvas {
  public:
    Canvas(HDC screen, int width, int height)
        : dc_(::CreateCompatibleDC(screen)),
          bitmap_(::CreateCompatibleBitmap(screen, width, height)),
          width_(width),
          height_(height) {
        if (dc_ != nullptr && bitmap_ != nullptr) {
            previous_ = ::SelectObject(dc_, bitmap_);
        }
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        if (previous_ != nullptr) {
            ::SelectObject(dc_, previous_);
        }
        if (bitmap_ != nullptr) {
            ::DeleteObject(bitmap_);
        }
        if (dc_ != nullptr) {
            ::DeleteDC(dc_);
        }
    }
    [[nodiscard]] bool Valid() const { return previous_ != nullptr; }
    [[nodiscard]] HDC Dc() const { return dc_; }

    // Top-down 32-bit pixels.
    [[nodiscard]] std::vector<std::uint32_t> Pixels() const {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width_) * height_);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        ::SelectObject(dc_, previous_);
        ::GetDIBits(dc_, bitmap_, 0, static_cast<UINT>(height_), pixels.data(), &info,
                    DIB_RGB_COLORS);
        ::SelectObject(dc_, bitmap_);
        for (auto& pixel : pixels) {
            pixel &= 0x00FFFFFF;
        }
        return pixels;
    }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_ = nullptr;
    int width_;
    int height_;
};

class ScreenDc {
  public:
    ScreenDc() : dc_(::GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(nullptr, dc_);
        }
    }
    [[nodiscard]] HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

bool ShowsIcon(HWND control) {
    return WindowClass(control) == L"Static" &&
           (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
           ::IsWindowVisible(control) != FALSE;
}

// Which system icon the static control shows, told apart by drawing each candidate on the
// control's own background and comparing with what the screen shows.
IconKind IdentifyIcon(HWND iconControl) {
    RECT rect{};
    ::GetWindowRect(iconControl, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return IconKind::Unknown;
    }
    const ScreenDc screen;
    Canvas shown(screen.Get(), width, height);
    if (!shown.Valid()) {
        return IconKind::Unknown;
    }
    ::BitBlt(shown.Dc(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY);
    const std::vector<std::uint32_t> shownPixels = shown.Pixels();
    const COLORREF background = ::GetPixel(shown.Dc(), 0, 0);

    struct Candidate {
        IconKind kind;
        const wchar_t* id;
    };
    const Candidate candidates[] = {{IconKind::Warning, IDI_WARNING},
                                    {IconKind::Error, IDI_ERROR},
                                    {IconKind::Information, IDI_INFORMATION},
                                    {IconKind::Question, IDI_QUESTION}};
    IconKind best = IconKind::Unknown;
    std::size_t fewestDifferences = shownPixels.size() / 20 + 1;  // at most 5 % may differ
    for (const auto& candidate : candidates) {
        Canvas drawn(screen.Get(), width, height);
        if (!drawn.Valid()) {
            continue;
        }
        HBRUSH brush = ::CreateSolidBrush(background);
        RECT all{0, 0, width, height};
        ::FillRect(drawn.Dc(), &all, brush);
        ::DeleteObject(brush);
        HICON icon = ::LoadIconW(nullptr, candidate.id);
        ::DrawIconEx(drawn.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        const std::vector<std::uint32_t> drawnPixels = drawn.Pixels();
        std::size_t differences = 0;
        for (std::size_t i = 0; i < drawnPixels.size(); ++i) {
            differences += drawnPixels[i] != shownPixels[i] ? 1 : 0;
        }
        if (differences < fewestDifferences) {
            fewestDifferences = differences;
            best = candidate.kind;
        }
    }
    return best;
}

}  // namespace

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query) {
    Search search{&query, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    do {
        const std::vector<HWND> found = FindTopLevelWindows(query);
        if (!found.empty()) {
            return found.front();
        }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT is marshalled across processes; GetWindowTextW would not read other
    // processes' controls.
    DWORD_PTR length = 0;
    if (::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length) ==
        0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring WindowClass(HWND window) {
    std::array<wchar_t, 256> name{};
    const int length = ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return std::wstring(name.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

DWORD WindowProcess(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

std::wstring ControlText(HWND dialog, int controlId) {
    HWND control = ::GetDlgItem(dialog, controlId);
    return control != nullptr ? WindowText(control) : std::wstring();
}

bool SetControlText(HWND dialog, int controlId, const std::wstring& text) {
    HWND control = ::GetDlgItem(dialog, controlId);
    DWORD_PTR result = 0;
    return control != nullptr &&
           ::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                 SMTO_ABORTIFHUNG, 5000, &result) != 0 &&
           result != FALSE;
}

HWND FocusedWindow(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || ::GetGUIThreadInfo(thread, &info) == FALSE) {
        return nullptr;
    }
    return info.hwndFocus;
}

std::vector<std::wstring> ListBoxRows(HWND listBox) {
    std::vector<std::wstring> rows;
    const LRESULT count = ::SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        const LRESULT length = ::SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
        if (length == LB_ERR) {
            break;
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied = ::SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(row),
                                              reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
        rows.push_back(std::move(text));
    }
    return rows;
}

bool PressButton(HWND dialog, int controlId) {
    HWND button = ::GetDlgItem(dialog, controlId);
    if (button == nullptr) {
        return false;
    }
    return Post(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(controlId), BN_CLICKED),
                reinterpret_cast<LPARAM>(button));
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(window, message, wParam, lParam) != FALSE;
}

const wchar_t* IconName(IconKind icon) {
    switch (icon) {
        case IconKind::None:
            return L"none";
        case IconKind::Warning:
            return L"warning";
        case IconKind::Error:
            return L"error";
        case IconKind::Information:
            return L"information";
        case IconKind::Question:
            return L"question";
        case IconKind::Unknown:
            return L"unknown";
    }
    return L"unknown";
}

std::optional<MessageBoxContent> ReadMessageBox(HWND box) {
    if (WindowClass(box) != L"#32770") {
        return std::nullopt;
    }
    MessageBoxContent content;
    content.caption = WindowText(box);
    content.owner = ::GetWindow(box, GW_OWNER);
    for (HWND child : Children(box)) {
        const std::wstring kind = WindowClass(child);
        if (kind == L"Button") {
            if (::IsWindowVisible(child) != FALSE) {
                content.buttons.push_back({::GetDlgCtrlID(child), WindowText(child)});
            }
        } else if (kind == L"Static") {
            if (ShowsIcon(child)) {
                content.icon = IdentifyIcon(child);
                // A box that has not painted its icon yet shows only background: let it paint,
                // then look again.
                for (int attempt = 0; attempt < 20 && content.icon == IconKind::Unknown;
                     ++attempt) {
                    ::RedrawWindow(box, nullptr, nullptr,
                                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                    std::this_thread::sleep_for(100ms);
                    content.icon = IdentifyIcon(child);
                }
            } else if (const std::wstring text = WindowText(child); !text.empty()) {
                content.text = text;
            }
        }
    }
    return content;
}

bool AnswerMessageBox(HWND box, int buttonId) {
    return PressButton(box, buttonId);
}

bool SaveScreenshot(const std::wstring& bmpPath) {
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    if (width <= 0 || height <= 0) {
        return false;
    }
    const ScreenDc screen;
    Canvas canvas(screen.Get(), width, height);
    if (!canvas.Valid() ||
        ::BitBlt(canvas.Dc(), 0, 0, width, height, screen.Get(), left, top, SRCCOPY) == FALSE) {
        return false;
    }
    const std::vector<std::uint32_t> pixels = canvas.Pixels();
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> image(rowBytes * height, 0);
    for (int y = 0; y < height; ++y) {
        // BMP rows run bottom-up.
        std::uint8_t* row = image.data() + rowBytes * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = pixels[static_cast<std::size_t>(y) * width + x];
            row[x * 3 + 0] = static_cast<std::uint8_t>(pixel & 0xFF);
            row[x * 3 + 1] = static_cast<std::uint8_t>((pixel >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<std::uint8_t>((pixel >> 16) & 0xFF);
        }
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(image.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;

    const brambolt::UniqueFile output(::CreateFileW(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) {
        return false;
    }
    DWORD written = 0;
    return ::WriteFile(output.get(), &file, sizeof(file), &written, nullptr) != FALSE &&
           ::WriteFile(output.get(), &info, sizeof(info), &written, nullptr) != FALSE &&
           ::WriteFile(output.get(), image.data(), static_cast<DWORD>(image.size()), &written,
                       nullptr) != FALSE;
}

std::optional<StartedProcess> StartProgram(const std::wstring& program,
                                           const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &started) == FALSE) {
        return std::nullopt;
    }
    const brambolt::UniqueHandle thread(started.hThread);
    StartedProcess result;
    result.process.reset(started.hProcess);
    result.processId = started.dwProcessId;
    return result;
}

std::optional<DWORD> WaitForExit(HANDLE process, std::chrono::milliseconds bound) {
    if (::WaitForSingleObject(process, static_cast<DWORD>(bound.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    return code;
}

std::wstring WindowsPath(const char* unixPath) {
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, nullptr, 0);
    std::wstring path(static_cast<std::size_t>(size > 0 ? size - 1 : 0), L'\0');
    if (size > 1) {
        ::MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, path.data(), size);
    }
    for (auto& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return L"Z:" + path;
}

}  // namespace winauto
