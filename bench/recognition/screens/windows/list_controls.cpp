// Prints the visible controls of another program's window with their texts and places on the
// screen, so that a screenshot of that window gets the text the program itself put there.
//
//   list_controls.exe CLASS [PAGE]
//
// Waits up to twenty seconds for a visible top-level window of the window class CLASS (such as
// "#32770", a dialog) that belongs to another process. With PAGE the window is a property sheet:
// it is turned to its page PAGE (0 the first) and the frame is that page, not the whole sheet.
// Prints UTF-8 lines, rectangles in screen pixels as left, top, right, bottom:
//
//   frame L T R B                      the client area of the window, or the page
//   control CLASS STYLE L T R B TEXT   every visible descendant, its style in hexadecimal, its
//                                      text with "\" written "\\" and line ends "\n"
//
// The program only reads: it sends WM_GETTEXT and, with PAGE, the sheet's own page messages.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kSetCurrentPage = WM_USER + 101;      // PSM_SETCURSEL
constexpr UINT kGetCurrentPageHwnd = WM_USER + 118;  // PSM_GETCURRENTPAGEHWND
constexpr UINT kReplyMilliseconds = 2000;

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring TextOf(HWND window) {
    std::vector<wchar_t> text(8192, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kReplyMilliseconds, &copied)) {
        return {};
    }
    return std::wstring(text.data(), copied);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

// One line per field, so that texts with line ends stay on their line of the listing.
std::wstring Escaped(const std::wstring& text) {
    std::wstring out;
    for (const wchar_t unit : text) {
        if (unit == L'\\') {
            out += L"\\\\";
        } else if (unit == L'\n') {
            out += L"\\n";
        } else if (unit != L'\r') {
            out += unit;
        }
    }
    return out;
}

void Write(const std::string& line) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

std::string Rectangle(const RECT& r) {
    char text[96];
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
    return text;
}

struct Search {
    std::wstring className;
    HWND found = nullptr;
};

BOOL CALLBACK OfferTopLevel(HWND window, LPARAM state) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    auto& search = *reinterpret_cast<Search*>(state);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    RECT box{};
    if (process != GetCurrentProcessId() && IsWindowVisible(window) &&
        ClassOf(window) == search.className && GetWindowRect(window, &box) &&
        box.right > box.left && box.bottom > box.top) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

HWND WaitForWindow(const std::wstring& className) {
    Search search{className};
    for (int attempt = 0; attempt < 80 && !search.found; ++attempt) {
        EnumWindows(OfferTopLevel, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    }
    return search.found;
}

RECT FrameOf(HWND window, int page) {
    RECT frame{};
    if (page >= 0) {
        SendMessageW(window, kSetCurrentPage, static_cast<WPARAM>(page), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the sheet answers with a window handle
        const auto shown = reinterpret_cast<HWND>(SendMessageW(window, kGetCurrentPageHwnd, 0, 0));
        if (shown && GetWindowRect(shown, &frame)) {
            return frame;
        }
    }
    GetClientRect(window, &frame);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&frame), 2);
    return frame;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        Write("usage: list_controls.exe CLASS [PAGE]\n");
        return 2;
    }
    const HWND window = WaitForWindow(argv[1]);
    if (!window) {
        Write("no such window\n");
        return 1;
    }
    // A window that has just appeared may still be laying out its controls.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    const RECT frame = FrameOf(window, argc > 2 ? _wtoi(argv[2]) : -1);
    Write("frame " + Rectangle(frame) + "\n");
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (const HWND child : children) {
        RECT box{};
        if (!IsWindowVisible(child) || !GetWindowRect(child, &box)) {
            continue;
        }
        const auto style = static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE));
        char head[64];
        std::snprintf(head, sizeof head, " %lx ", style);
        Write("control " + Utf8(ClassOf(child)) + head + Rectangle(box) + " " +
              Utf8(Escaped(TextOf(child))) + "\n");
    }
    return 0;
}
