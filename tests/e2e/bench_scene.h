// The stage of the scenes that drive BramboltTestBench.exe: the program started in installations of
// its own, the lock list file, the stand-in driver's state and journal, the stand-in shell's
// script files, and the program's boxes. The main-window and the list-file scenes derive from it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "automation.h"
#include "brambolt/folders/lock_list_codec.h"
#include "brambolt/resources/resource_ids.h"
#include "brambolt/testbench/bench_journal.h"
#include "scene.h"

namespace e2e {

using Words = std::vector<std::wstring>;
using Bytes = std::vector<std::uint8_t>;

inline constexpr wchar_t kMainMutexName[] = L"OrinKelda";
inline const std::wstring kServicesKey = L"SYSTEM\\CurrentControlSet\\Services\\";

void WriteBytes(const std::wstring& path, const Bytes& bytes);
void WriteUtf8(const std::wstring& path, const std::wstring& text);
bool RegistryKeyExists(const std::wstring& machineKey);

// The stand-in's journal as words, in order: "protection N" and "data access N" for the driver's
// switches, "load", "unload", "browse <title>" and "shellopen <path> <show command>".
Words JournalWords();

class BenchScene : public ::testing::Test {
  protected:
    // No Brambolt running, no stored window, a fresh stand-in, no list file (nor any file kept
    // aside beside it), no script for the stand-in shell and no driver service.
    void SetUp() override;
    // Ends what the scene left running and clears what SetUp cleared.
    void TearDown() override;

    // Starts the program in a fresh installation with the driver file and waits for its main
    // window (nullptr when none came).
    HWND Start(const std::wstring& scene, const char* program = E2E_TESTBENCH_EXE);
    HWND StartProgram(const std::wstring& program);
    winauto::StartedProcess& Process() { return started_.back(); }
    bool Exited(std::chrono::milliseconds bound = kExitBound);

    // The first line of what the stand-in folder browser returns; the stand-in Explorer's windows.
    void Browse(const std::wstring& chosen) const;
    void Explorer(const std::wstring& lines) const;

    void WriteList(const brambolt::LockListEntries& entries) const;
    // nullopt when there is no list file.
    std::optional<brambolt::LockListEntries> ListFile() const;
    brambolt::testbench::DriverState Driver() const;
    // The start-up's driver thread has loaded the driver and pinged it once more: it will not
    // touch the driver again.
    static bool DriverThreadDone();
    // Commits finished since the journal was last cleared (each ends with data access 0). The list
    // file is read only after them: a read while a commit saves it would make the save fail.
    static bool WaitForCommits(std::size_t count);

    // The next visible box of the program other than its main window and `previous`.
    HWND WaitForBox(HWND previous = nullptr);
    // Reads the next box, answers it with its first button and returns what it said; nullopt (and
    // a failure) when none came or it could not be read.
    std::optional<winauto::MessageBoxContent> AnswerBox(HWND previous = nullptr);

    static void Select(HWND window, int row);
    static void DoubleClick(HWND window);
    static Words Rows(HWND window);

    std::wstring benchFolder_;
    std::wstring listPath_;
    std::wstring service_;
    std::wstring installation_;
    std::deque<winauto::StartedProcess> started_;

  private:
    void RemoveListFiles() const;
};

}  // namespace e2e
