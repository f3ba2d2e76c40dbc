// The per-user registration of the filter driver under HKEY_LOCAL_MACHINE, its load through the
// Filter Manager, and its removal. The Filter Manager and the service control manager read these
// keys at every system start, so every value keeps its name, type and byte count.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace brambolt {

// "SYSTEM\CurrentControlSet\Services\" + service name.
[[nodiscard]] std::wstring DriverServiceKey(const std::wstring& serviceName);

// Steps 2 to 6 of the install: the SafeBoot entries, the service key with Parameters and
// Instances. A key that cannot be created is skipped with its values. The service key and
// everything below it are skipped too when the image path would not fit in MAX_PATH (a driver
// registered under a cut path could never load). sid is empty when it could not be read.
void WriteDriverRegistration(const std::wstring& serviceName,
                             const std::optional<std::wstring>& sid,
                             const std::wstring& programDirectory);

// How the driver's own boxes reach the user: the application message box in the program.
using ShowDriverMessage = std::function<void(const std::wstring& text, UINT type)>;

// The text of the box that a failed load shows.
[[nodiscard]] std::wstring DriverLoadFailedText(HRESULT result);

// Registers the driver for the program directory and loads it. A failed load unloads the filter
// again (a half-loaded instance would block the next attempt) and shows "加密驱动加载失败，错误码:
// 0x%08X" with the HRESULT of the load. Callers ping afterwards and report a silent driver in their
// own words. One install runs at a time in the process: a second FilterLoad while the first one's
// filter runs would fail and unload it.
void InstallAndLoadDriver();
void InstallAndLoadDriver(const std::wstring& programDirectory, const ShowDriverMessage& show);

// Thread procedure for CreateThread (the parameter is not used): when the driver does not answer,
// installs it, and when it still does not answer, shows the installation-failed box. Returns 0.
DWORD WINAPI EnsureDriverThread(LPVOID unused);
void EnsureDriver(const std::wstring& programDirectory, const ShowDriverMessage& show);

// Unloads the driver when it answers, deletes the service key tree and the lock list file; each
// step runs whatever the previous one gave. The SafeBoot entries, the data folder and the
// credential record stay. Reports nothing.
void UninstallDriver();

// Deletes HKEY_LOCAL_MACHINE\subkey with everything below it.
void DeleteRegistryTree(const std::wstring& subkey);
// Deletes root\subkey with everything below it; true when the key is gone. A child that cannot be
// deleted stops the deletion (the parent then stays as well) instead of being retried for ever.
bool DeleteRegistryTree(HKEY root, const std::wstring& subkey);

}  // namespace brambolt
