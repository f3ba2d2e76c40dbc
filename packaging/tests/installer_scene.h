// The stage of the installer tests: running the installer and the uninstaller as a user would,
// and reading what they left on the machine.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "automation.h"
#include "brambolt/base/unique_handle.h"

namespace installer_scene {

using namespace std::chrono_literals;

inline constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brambolt";
inline constexpr wchar_t kDefaultFolder[] = L"C:\\Program Files\\Vorlin\\Brambolt";
inline constexpr wchar_t kShortcut[] =
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Brambolt.lnk";

using winauto::WindowsPath;

// Runs a program with a command line and waits for it; nullopt when it does not end in time.
std::optional<DWORD> Run(const std::wstring& program, const std::wstring& arguments);
// Runs a whole command line as the Add/Remove Programs panel does.
std::optional<DWORD> RunCommandLine(const std::wstring& commandLine);

bool Exists(const std::wstring& path);
bool WaitUntilGone(const std::wstring& path);
std::optional<std::string> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

std::optional<std::wstring> RegistryText(HKEY root, const std::wstring& key, const wchar_t* value);
std::optional<std::uint32_t> RegistryNumber(HKEY root, const std::wstring& key,
                                            const wchar_t* value);
bool KeyExists(HKEY root, const std::wstring& key);
bool WriteRegistryText(HKEY root, const std::wstring& key, const wchar_t* value,
                       const std::wstring& text);
void DeleteKeyTree(HKEY root, const std::wstring& key);

// The "FileVersion" text of a program's version resource (its first translation).
std::optional<std::wstring> FileVersionText(const std::wstring& program);

// The target program of a shell link.
std::optional<std::wstring> ShortcutTarget(const std::wstring& link);

// The current user's lock list file and credential record (their folder is created).
std::wstring LockListFile();
std::wstring CredentialRecordFile();
// "SYSTEM\CurrentControlSet\Services\" + the current user's driver service name.
std::wstring OwnServiceKey();

// A mutex of the given name held by this process while the object lives.
class HeldMutex {
  public:
    explicit HeldMutex(const wchar_t* name);
    ~HeldMutex();
    HeldMutex(const HeldMutex&) = delete;
    HeldMutex& operator=(const HeldMutex&) = delete;

  private:
    brambolt::UniqueHandle handle_;
};

}  // namespace installer_scene
