#include "brambolt/driver/driver_registration.h"

#include <array>
#include <cstdio>
#include <mutex>
#include <string_view>

#include "brambolt/base/file_operations.h"
#include "brambolt/base/program_directory.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/altitude_rule.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/driver_port.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/framework/message_box.h"

namespace brambolt {
namespace {

constexpr std::wstring_view kServicesKey = L"SYSTEM\\CurrentControlSet\\Services\\";
constexpr std::array<const wchar_t*, 2> kSafeBootKeys = {
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\TarnBrambolt.sys",
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Network\\TarnBrambolt.sys",
};
constexpr std::wstring_view kDriverFileName = L"\\TarnBrambolt.sys";
constexpr std::size_t kRegistryKeyNameBuffer = 251;  // longest key name and its terminator

constexpr wchar_t kInstallFailedText[] =
    L"安装加密驱动失败，请检查是否被安全软件阻止，若多次设置失败请重启电脑再试。\n"
    L"解决问题后请重新设置加密功能";

UniqueHkey CreateKey(const std::wstring& subkey) {
    UniqueHkey key;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        key.release();  // a failed call hands out no key: whatever it left there is not closed
    }
    return key;
}

// Results of the value writes are not used: a value that does not stick shows as a driver that
// does not load, and the load reports that.
void SetText(HKEY key, const wchar_t* name, DWORD type, std::wstring_view text) {
    const std::wstring terminated(text);
    ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(terminated.c_str()),
                     static_cast<DWORD>((terminated.size() + 1) * sizeof(wchar_t)));
}

void SetNumber(HKEY key, const wchar_t* name, DWORD value) {
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void SetSingleMultiString(HKEY key, const wchar_t* name, std::wstring_view entry) {
    std::wstring list(entry);
    list.append(2, L'\0');  // the entry's terminator and the list's
    ::RegSetValueExW(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list.data()),
                     static_cast<DWORD>(list.size() * sizeof(wchar_t)));
}

std::optional<std::u16string> Utf16(const std::optional<std::wstring>& text) {
    if (!text) {
        return std::nullopt;
    }
    return ToUtf16(*text);
}

std::mutex& InstallMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<std::wstring> UserSid() {
    std::wstring sid;
    if (!GetUserSidString(sid)) {
        return std::nullopt;
    }
    return sid;
}

void ShowAppMessage(const std::wstring& text, UINT type) {
    AppMessageBox(nullptr, text, type);
}

}  // namespace

std::wstring DriverLoadFailedText(HRESULT result) {
    std::array<wchar_t, 64> text{};
    std::swprintf(text.data(), text.size(), L"加密驱动加载失败，错误码: 0x%08X",
                  static_cast<unsigned int>(result));
    return text.data();
}

std::wstring DriverServiceKey(const std::wstring& serviceName) {
    return std::wstring(kServicesKey) + serviceName;
}

void WriteDriverRegistration(const std::wstring& serviceName,
                             const std::optional<std::wstring>& sid,
                             const std::wstring& programDirectory) {
    for (const wchar_t* safeBootKey : kSafeBootKeys) {
        if (const UniqueHkey key = CreateKey(safeBootKey)) {
            SetText(key.get(), L"", REG_SZ, L"Driver");
        }
    }

    const std::wstring imagePath = L"\\??\\" + programDirectory + std::wstring(kDriverFileName);
    if (imagePath.size() >= MAX_PATH) {
        return;
    }
    const std::wstring serviceKey = DriverServiceKey(serviceName);
    if (const UniqueHkey key = CreateKey(serviceKey)) {
        SetNumber(key.get(), L"Type", SERVICE_FILE_SYSTEM_DRIVER);
        SetNumber(key.get(), L"Start", SERVICE_SYSTEM_START);
        SetNumber(key.get(), L"ErrorControl", SERVICE_ERROR_NORMAL);
        SetText(key.get(), L"DisplayName", REG_SZ, serviceName);
        SetText(key.get(), L"Description", REG_SZ, L"TARNBRAMBOLT Mini-Filter Driver");
        SetText(key.get(), L"Group", REG_SZ, L"FSFilter Security Enhancer");
        SetSingleMultiString(key.get(), L"DependOnService", L"FltMgr");
        SetText(key.get(), L"ImagePath", REG_EXPAND_SZ, imagePath);
    }
    if (const UniqueHkey key = CreateKey(serviceKey + L"\\Parameters")) {
        SetNumber(key.get(), L"SupportedFeatures", 3);
    }

    const FilterInstanceNaming naming = NameFilterInstance(Utf16(sid));
    const std::wstring instanceName = ToWide(naming.instanceName);
    const std::wstring instancesKey = serviceKey + L"\\Instances";
    if (const UniqueHkey key = CreateKey(instancesKey + L"\\" + instanceName)) {
        SetText(key.get(), L"Altitude", REG_SZ, ToWide(naming.altitude));
        SetNumber(key.get(), L"Flags", 0);
    }
    UniqueHkey instances;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, instancesKey.c_str(), 0, KEY_ALL_ACCESS,
                        instances.put()) == ERROR_SUCCESS) {
        SetText(instances.get(), L"DefaultInstance", REG_SZ, instanceName);
    } else {
        instances.release();  // a failed open hands out no key: what it left is not closed
    }
}

void InstallAndLoadDriver(const std::wstring& programDirectory, const ShowDriverMessage& show) {
    const std::scoped_lock lock(InstallMutex());
    const std::wstring serviceName = GetDriverServiceName();
    WriteDriverRegistration(serviceName, UserSid(), programDirectory);

    DriverPort& port = CurrentDriverPort();
    const HRESULT loaded = port.FilterLoad(serviceName.c_str());
    if (FAILED(loaded)) {
        // A filter left half-loaded under this name would make every later load fail as well.
        port.FilterUnload(serviceName.c_str());
        show(DriverLoadFailedText(loaded), MB_OK | MB_ICONERROR);
    }
}

void InstallAndLoadDriver() {
    InstallAndLoadDriver(ProgramDirectory(), ShowAppMessage);
}

void EnsureDriver(const std::wstring& programDirectory, const ShowDriverMessage& show) {
    if (PingDriver()) {
        return;
    }
    InstallAndLoadDriver(programDirectory, show);
    if (!PingDriver()) {
        show(kInstallFailedText, MB_OK | MB_ICONWARNING);
    }
}

DWORD WINAPI EnsureDriverThread(LPVOID /*unused*/) {
    EnsureDriver(ProgramDirectory(), ShowAppMessage);
    return 0;
}

void UninstallDriver() {
    const std::wstring serviceName = GetDriverServiceName();
    if (PingDriver()) {
        CurrentDriverPort().FilterUnload(serviceName.c_str());
    }
    DeleteRegistryTree(DriverServiceKey(serviceName));
    if (const std::optional<std::wstring> lockList = GetLockListPath()) {
        RemoveFileName(lockList->c_str());
    }
}

void DeleteRegistryTree(const std::wstring& subkey) {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, subkey);
}

bool DeleteRegistryTree(HKEY root, const std::wstring& subkey) {
    UniqueHkey key;
    if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) {
        key.release();  // a failed open hands out no key: what it left is not closed
        return false;
    }
    // Index 0 every time: each deleted child moves the next one to the front. A child that stays
    // would come back at index 0 for ever, so the first one that cannot be deleted ends the walk.
    std::array<wchar_t, kRegistryKeyNameBuffer> child{};
    while (::RegEnumKeyW(key.get(), 0, child.data(), static_cast<DWORD>(child.size())) ==
           ERROR_SUCCESS) {
        if (!DeleteRegistryTree(root, subkey + L"\\" + child.data())) {
            break;
        }
    }
    return ::RegDeleteKeyW(root, subkey.c_str()) == ERROR_SUCCESS;
}

}  // namespace brambolt
