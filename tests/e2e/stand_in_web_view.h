// The stand-in WebView2 runtime as the web view scenes drive it: its script and logs in the folder
// that holds it, and the steps it still has to run on this thread.
#pragma once

#include <windows.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "brambolt/base/program_directory.h"
#include "scene.h"

namespace e2e {

class StandInFolder {
  public:
    explicit StandInFolder(std::wstring folder) : folder_(std::move(folder)) {}

    // The rules the stand-in reads at its next start; the logs of an earlier run go.
    void Script(const std::string& rules) const {
        std::ofstream(Narrow(Path(L"webview-script.txt")), std::ios::binary) << rules;
        ::DeleteFileW(Path(L"webview.log").c_str());
        ::DeleteFileW(Path(L"webview-settings.log").c_str());
    }
    [[nodiscard]] std::vector<std::string> Lines(const wchar_t* name) const {
        std::vector<std::string> lines;
        std::ifstream file(Narrow(Path(name)), std::ios::binary);
        for (std::string line; std::getline(file, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    [[nodiscard]] std::vector<std::string> Log() const { return Lines(L"webview.log"); }
    [[nodiscard]] bool Logged(const std::string& line) const {
        for (const std::string& logged : Log()) {
            if (logged == line) {
                return true;
            }
        }
        return false;
    }
    bool WaitForLine(const std::string& line) const {
        const auto end = std::chrono::steady_clock::now() + kWindowBound;
        while (std::chrono::steady_clock::now() < end) {
            if (Logged(line)) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

  private:
    [[nodiscard]] std::wstring Path(const wchar_t* name) const { return folder_ + L"\\" + name; }

    // The C runtime's file streams take narrow paths in the ANSI code page.
    static std::string Narrow(const std::wstring& path) {
        const int size =
            ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string narrow(static_cast<std::size_t>(size), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow.data(), size, nullptr, nullptr);
        narrow.pop_back();
        return narrow;
    }

    std::wstring folder_;
};

// The stand-in beside this scene's own program.
inline const StandInFolder& StandInHere() {
    static const StandInFolder here = [] {
        brambolt::RecordProgramDirectory();
        return StandInFolder(brambolt::ProgramDirectory());
    }();
    return here;
}

// Steps still to run in the stand-in on this thread (0 before it is loaded).
inline int StandInBusy() {
    HMODULE standIn = ::GetModuleHandleW(L"WebView2Loader.dll");
    if (standIn == nullptr) {
        return 0;
    }
    using Busy = int (*)();
    return reinterpret_cast<Busy>(
        reinterpret_cast<void*>(::GetProcAddress(standIn, "WebView2StandInBusy")))();
}

}  // namespace e2e
