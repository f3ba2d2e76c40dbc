// winauto: drives other programs' windows from the command line, for people who look at the
// end-to-end scenes by hand. Window handles are written and read as hexadecimal numbers.
//   winauto find [--caption TEXT] [--class NAME] [--pid N] [--wait MS]
//   winauto text HWND | control-text HWND ID | list-rows HWND ID | focus HWND
//   winauto set-text HWND ID TEXT
//   winauto press HWND ID | post HWND MESSAGE WPARAM LPARAM
//   winauto msgbox HWND | answer HWND ID
//   winauto screenshot FILE.bmp
//   winauto start PROGRAM [ARGUMENTS...]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "automation.h"

namespace {

using namespace std::chrono_literals;

HWND ParseWindow(const wchar_t* text) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::wcstoull(text, nullptr, 16)));
}

long long ParseNumber(const wchar_t* text) {
    return std::wcstoll(text, nullptr, 0);
}

void PrintLine(const std::wstring& text) {
    // UTF-8, so that Chinese texts survive a redirection.
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

int Usage() {
    std::fputs(
        "usage: winauto find [--caption T] [--class C] [--pid N] [--wait MS] | text HWND |\n"
        "       control-text HWND ID | list-rows HWND ID | focus HWND |\n"
        "       set-text HWND ID TEXT | press HWND ID |\n"
        "       post HWND MSG WPARAM LPARAM | msgbox HWND | answer HWND ID |\n"
        "       screenshot FILE.bmp | start PROGRAM [ARGS...]\n",
        stderr);
    return 2;
}

int Find(const std::vector<std::wstring>& args) {
    winauto::WindowQuery query;
    long long wait = 0;
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == L"--caption") {
            query.caption = args[i + 1];
        } else if (args[i] == L"--class") {
            query.className = args[i + 1];
        } else if (args[i] == L"--pid") {
            query.processId = static_cast<DWORD>(ParseNumber(args[i + 1].c_str()));
        } else if (args[i] == L"--wait") {
            wait = ParseNumber(args[i + 1].c_str());
        } else {
            return Usage();
        }
    }
    HWND window = winauto::WaitForWindow(query, std::chrono::milliseconds(wait));
    if (window == nullptr) {
        return 1;
    }
    std::printf("%llx\n",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return Usage();
    }
    const std::wstring command = argv[1];
    std::vector<std::wstring> args(argv + 2, argv + argc);
    if (command == L"find") {
        return Find(args);
    }
    if (command == L"text" && args.size() == 1) {
        PrintLine(winauto::WindowText(ParseWindow(args[0].c_str())));
        return 0;
    }
    if (command == L"control-text" && args.size() == 2) {
        PrintLine(winauto::ControlText(ParseWindow(args[0].c_str()),
                                       static_cast<int>(ParseNumber(args[1].c_str()))));
        return 0;
    }
    if (command == L"set-text" && args.size() == 3) {
        return winauto::SetControlText(ParseWindow(args[0].c_str()),
                                       static_cast<int>(ParseNumber(args[1].c_str())), args[2])
                   ? 0
                   : 1;
    }
    if (command == L"focus" && args.size() == 1) {
        HWND focus = winauto::FocusedWindow(ParseWindow(args[0].c_str()));
        std::printf("%llx %d\n",
                    static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(focus)),
                    focus != nullptr ? ::GetDlgCtrlID(focus) : 0);
        return focus != nullptr ? 0 : 1;
    }
    if (command == L"list-rows" && args.size() == 2) {
        HWND list = ::GetDlgItem(ParseWindow(args[0].c_str()),
                                 static_cast<int>(ParseNumber(args[1].c_str())));
        for (const auto& row : winauto::ListBoxRows(list)) {
            PrintLine(row);
        }
        return list != nullptr ? 0 : 1;
    }
    if (command == L"press" && args.size() == 2) {
        return winauto::PressButton(ParseWindow(args[0].c_str()),
                                    static_cast<int>(ParseNumber(args[1].c_str())))
                   ? 0
                   : 1;
    }
    if (command == L"post" && args.size() == 4) {
        return winauto::Post(ParseWindow(args[0].c_str()),
                             static_cast<UINT>(ParseNumber(args[1].c_str())),
                             static_cast<WPARAM>(ParseNumber(args[2].c_str())),
                             static_cast<LPARAM>(ParseNumber(args[3].c_str())))
                   ? 0
                   : 1;
    }
    if (command == L"msgbox" && args.size() == 1) {
        const auto box = winauto::ReadMessageBox(ParseWindow(args[0].c_str()));
        if (!box.has_value()) {
            return 1;
        }
        PrintLine(L"caption: " + box->caption);
        PrintLine(L"text: " + box->text);
        PrintLine(std::wstring(L"icon: ") + winauto::IconName(box->icon));
        for (const auto& button : box->buttons) {
            PrintLine(L"button: " + std::to_wstring(button.id) + L" " + button.text);
        }
        return 0;
    }
    if (command == L"answer" && args.size() == 2) {
        return winauto::AnswerMessageBox(ParseWindow(args[0].c_str()),
                                         static_cast<int>(ParseNumber(args[1].c_str())))
                   ? 0
                   : 1;
    }
    if (command == L"screenshot" && args.size() == 1) {
        return winauto::SaveScreenshot(args[0]) ? 0 : 1;
    }
    if (command == L"start" && !args.empty()) {
        std::wstring arguments;
        for (std::size_t i = 1; i < args.size(); ++i) {
            arguments += (i > 1 ? L" " : L"") + args[i];
        }
        const auto started = winauto::StartProgram(args[0], arguments);
        if (!started.has_value()) {
            return 1;
        }
        std::printf("%lu\n", static_cast<unsigned long>(started->processId));
        return 0;
    }
    return Usage();
}
