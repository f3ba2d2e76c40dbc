#include "brambolt/testbench/registration_check.h"

#include <windows.h>
#include <shlwapi.h>

#include <optional>
#include <vector>

#include "brambolt/base/unique_handle.h"

namespace brambolt::testbench {

namespace {

constexpr wchar_t kServices[] = L"SYSTEM\\CurrentControlSet\\Services\\";

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

std::optional<RegistryValue> QueryValue(HKEY key, const wchar_t* name) {
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (::RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::optional<DWORD> QueryDword(HKEY key, const wchar_t* name) {
    const auto value = QueryValue(key, name);
    if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD number = 0;
    memcpy(&number, value->data.data(), sizeof(number));
    return number;
}

// A REG_SZ or REG_EXPAND_SZ; like the system, the reader does not insist on the terminating zero.
std::optional<std::wstring> QueryString(HKEY key, const wchar_t* name, DWORD type) {
    const auto value = QueryValue(key, name);
    if (!value || value->type != type || value->data.size() % sizeof(wchar_t) != 0) {
        return std::nullopt;
    }
    std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
    memcpy(text.data(), value->data.data(), value->data.size());
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}

UniqueHkey OpenKey(const std::wstring& path) {
    UniqueHkey key;
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put());
    return key;
}

bool DependsOnFilterManager(HKEY key) {
    const auto value = QueryValue(key, L"DependOnService");
    if (!value || value->type != REG_MULTI_SZ) {
        return false;
    }
    std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
    memcpy(text.data(), value->data.data(), text.size() * sizeof(wchar_t));
    for (std::wstring::size_type start = 0; start < text.size() && text[start] != L'\0';) {
        const auto end = text.find(L'\0', start);
        if (::lstrcmpiW(text.substr(start, end - start).c_str(), L"FltMgr") == 0) {
            return true;
        }
        start = end == std::wstring::npos ? text.size() : end + 1;
    }
    return false;
}

// "\??\C:\dir\file.sys" names C:\dir\file.sys.
std::wstring Win32PathOfImage(const std::wstring& imagePath) {
    constexpr std::wstring_view kPrefix = L"\\??\\";
    if (imagePath.starts_with(kPrefix)) {
        return imagePath.substr(kPrefix.size());
    }
    return imagePath;
}

void SetString(HKEY key, const wchar_t* name, DWORD type, const std::wstring& text) {
    ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value) {
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

UniqueHkey CreateKey(const std::wstring& path) {
    UniqueHkey key;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    return key;
}

}  // namespace

RegistrationVerdict CheckRegistration(const std::wstring& serviceName) {
    RegistrationVerdict verdict;
    const std::wstring servicePath = kServices + serviceName;
    const UniqueHkey service = OpenKey(servicePath);
    if (!service) {
        verdict.problem = L"service key";
        return verdict;
    }
    const auto image = QueryString(service.get(), L"ImagePath", REG_EXPAND_SZ);
    if (!image) {
        verdict.problem = L"ImagePath";
        return verdict;
    }
    if (::PathFileExistsW(Win32PathOfImage(*image).c_str()) == FALSE) {
        verdict.problem = L"image file";
        return verdict;
    }
    verdict.present = true;
    auto fail = [&verdict](const wchar_t* item) {
        verdict.problem = item;
        return verdict;
    };
    if (QueryDword(service.get(), L"Type") != DWORD{SERVICE_FILE_SYSTEM_DRIVER}) {
        return fail(L"Type");
    }
    if (QueryDword(service.get(), L"Start") != DWORD{SERVICE_SYSTEM_START}) {
        return fail(L"Start");
    }
    if (QueryDword(service.get(), L"ErrorControl") != DWORD{SERVICE_ERROR_NORMAL}) {
        return fail(L"ErrorControl");
    }
    if (QueryString(service.get(), L"DisplayName", REG_SZ) != serviceName) {
        return fail(L"DisplayName");
    }
    if (QueryString(service.get(), L"Group", REG_SZ) !=
        std::wstring(L"FSFilter Security Enhancer")) {
        return fail(L"Group");
    }
    if (!DependsOnFilterManager(service.get())) {
        return fail(L"DependOnService");
    }
    const UniqueHkey parameters = OpenKey(servicePath + L"\\Parameters");
    if (!parameters || !QueryDword(parameters.get(), L"SupportedFeatures").has_value()) {
        return fail(L"SupportedFeatures");
    }
    const UniqueHkey instances = OpenKey(servicePath + L"\\Instances");
    const auto defaultInstance =
        instances ? QueryString(instances.get(), L"DefaultInstance", REG_SZ) : std::nullopt;
    if (!defaultInstance || defaultInstance->empty()) {
        return fail(L"DefaultInstance");
    }
    const UniqueHkey instance = OpenKey(servicePath + L"\\Instances\\" + *defaultInstance);
    const auto altitude =
        instance ? QueryString(instance.get(), L"Altitude", REG_SZ) : std::nullopt;
    if (!altitude || altitude->empty()) {
        return fail(L"Altitude");
    }
    if (!QueryDword(instance.get(), L"Flags").has_value()) {
        return fail(L"Flags");
    }
    verdict.complete = true;
    return verdict;
}

void WriteRegistrationForTests(const std::wstring& serviceName, const std::wstring& imageFile,
                               const std::wstring& instanceName, const std::wstring& altitude) {
    const std::wstring servicePath = kServices + serviceName;
    if (const UniqueHkey service = CreateKey(servicePath)) {
        SetDword(service.get(), L"Type", SERVICE_FILE_SYSTEM_DRIVER);
        SetDword(service.get(), L"Start", SERVICE_SYSTEM_START);
        SetDword(service.get(), L"ErrorControl", SERVICE_ERROR_NORMAL);
        SetString(service.get(), L"DisplayName", REG_SZ, serviceName);
        SetString(service.get(), L"Description", REG_SZ, L"TARNBRAMBOLT Mini-Filter Driver");
        SetString(service.get(), L"Group", REG_SZ, L"FSFilter Security Enhancer");
        static constexpr wchar_t kDepends[] = L"FltMgr\0";
        ::RegSetValueExW(service.get(), L"DependOnService", 0, REG_MULTI_SZ,
                         reinterpret_cast<const BYTE*>(kDepends), sizeof(kDepends));
        SetString(service.get(), L"ImagePath", REG_EXPAND_SZ, L"\\??\\" + imageFile);
    }
    if (const UniqueHkey parameters = CreateKey(servicePath + L"\\Parameters")) {
        SetDword(parameters.get(), L"SupportedFeatures", 3);
    }
    if (const UniqueHkey instance = CreateKey(servicePath + L"\\Instances\\" + instanceName)) {
        SetString(instance.get(), L"Altitude", REG_SZ, altitude);
        SetDword(instance.get(), L"Flags", 0);
    }
    if (const UniqueHkey instances = CreateKey(servicePath + L"\\Instances")) {
        SetString(instances.get(), L"DefaultInstance", REG_SZ, instanceName);
    }
}

void DeleteRegistrationForTests(const std::wstring& serviceName) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kServices + serviceName).c_str());
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, (kServices + serviceName).c_str());
}

}  // namespace brambolt::testbench
