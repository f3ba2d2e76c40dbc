// Times a GUI program from its start to its visible window with a given caption, then ends it
// through its OK button and waits for its exit. With two programs it runs them in turn, A B A B,
// and prints each run, the medians and the median of the pairwise ratios.
//   startup_timer RUNS PROGRAM_A CAPTION_A [PROGRAM_B CAPTION_B]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Target {
    std::wstring program;
    std::wstring caption;
};

struct Search {
    DWORD processId;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (*search->caption == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Seconds from CreateProcess to the visible window; a negative value when it never came.
double TimeOnce(const Target& target) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    std::wstring commandLine = L"\"" + target.program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(target.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        return -1;
    }
    // The timer owns both handles of the started process.
    const std::unique_ptr<void, decltype(&CloseHandle)> thread(process.hThread, &CloseHandle);
    const std::unique_ptr<void, decltype(&CloseHandle)> owned(process.hProcess, &CloseHandle);
    Search search{process.dwProcessId, &target.caption, nullptr};
    double elapsed = -1;
    for (;;) {
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.found != nullptr) {
            elapsed = Seconds(start, now, frequency);
            break;
        }
        if (Seconds(start, now, frequency) > 60 || WaitForSingleObject(process.hProcess, 1) == 0) {
            break;
        }
    }
    if (search.found != nullptr) {
        PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 6) {
        std::fputs("usage: startup_timer RUNS PROGRAM_A CAPTION_A [PROGRAM_B CAPTION_B]\n", stderr);
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    std::vector<Target> targets{{argv[2], argv[3]}};
    if (argc == 6) {
        targets.push_back({argv[4], argv[5]});
    }
    // One warm-up run each: the first start pays for loading Wine's libraries.
    for (const auto& target : targets) {
        TimeOnce(target);
    }
    std::vector<std::vector<double>> times(targets.size());
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        std::vector<double> pair;
        for (std::size_t t = 0; t < targets.size(); ++t) {
            const double seconds = TimeOnce(targets[t]);
            if (seconds < 0) {
                std::fprintf(stderr, "program %zu showed no window\n", t);
                return 1;
            }
            times[t].push_back(seconds);
            pair.push_back(seconds);
            std::printf("run %d %c %.1f ms\n", run + 1, static_cast<char>('A' + t), seconds * 1000);
        }
        if (pair.size() == 2) {
            ratios.push_back(pair[0] / pair[1]);
        }
    }
    for (std::size_t t = 0; t < targets.size(); ++t) {
        std::printf("median %c %.1f ms (min %.1f, max %.1f)\n", static_cast<char>('A' + t),
                    Median(times[t]) * 1000,
                    *std::min_element(times[t].begin(), times[t].end()) * 1000,
                    *std::max_element(times[t].begin(), times[t].end()) * 1000);
    }
    if (!ratios.empty()) {
        std::printf("median ratio A/B %.2f\n", Median(ratios));
    }
    return 0;
}
