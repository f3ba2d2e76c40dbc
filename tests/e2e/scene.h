// The stage of the end-to-end scenes: an installation folder of its own for each scene, the
// programs started there, and the machine-wide traces Brambolt leaves (mutex, stored handle).
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation.h"
#include "brambolt/resources/resource_ids.h"

namespace e2e {

using namespace std::chrono_literals;

// Generous bounds on waiting for another process; a scene fails when one runs out.
inline constexpr std::chrono::milliseconds kWindowBound = 30s;
inline constexpr std::chrono::milliseconds kExitBound = 30s;

inline constexpr wchar_t kMainCaption[] = L"Vorlin文件夹隐藏保护 V1.3";
inline constexpr wchar_t kDialogClass[] = L"#32770";

using winauto::WindowsPath;

// A fresh folder under the build tree holding a copy of the program, with or without the driver
// file beside it.
std::wstring PrepareInstallation(const std::wstring& sceneName, const std::wstring& program,
                                 bool withDriverFile);

bool MutexExists(const wchar_t* name);

// The whole file, read with every kind of sharing so that a scene looking at the program's files
// never makes one of the program's own saves fail; nullopt when it cannot be opened.
std::optional<std::vector<std::uint8_t>> ReadFileShared(const std::wstring& path);

// HKCU\Software\Ravelin "KDWND".
std::optional<std::uint64_t> StoredWindowValue();
void DeleteStoredWindowValue();
void WriteStoredWindowValue(std::uint64_t value);

// Returns once the dialog's thread has processed every message posted to it before this call: a
// marker is posted to its list box last and waited for. False when the bound runs out.
bool DrainPostedMessages(HWND dialog, int listBoxId = IDC_FOLDER_LIST);
bool WaitUntilVisible(HWND window, bool visible);
// Polls until the condition holds (true) or the bound runs out (false).
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = kWindowBound);

// Visible top-level windows of a process, watched until it exits.
std::vector<HWND> VisibleWindowsUntilExit(const winauto::StartedProcess& process,
                                          std::optional<DWORD>& exitCode);

std::wstring ScreenshotFolder();

}  // namespace e2e
