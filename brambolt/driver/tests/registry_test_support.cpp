#include "brambolt/driver/tests/registry_test_support.h"

#include <array>

#include "brambolt/base/unique_handle.h"

namespace brambolt::testing {
namespace {

UniqueHkey OpenKey(const std::wstring& subkey, REGSAM access) {
    UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, access, key.put()) !=
        ERROR_SUCCESS) {
        key.release();
    }
    return key;
}

}  // namespace

std::optional<RegistryValue> ReadRegistryValue(const std::wstring& subkey, const wchar_t* name) {
    const UniqueHkey key = OpenKey(subkey, KEY_QUERY_VALUE);
    if (!key) {
        return std::nullopt;
    }
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    if (::RegQueryValueExW(key.get(), name, nullptr, &value.type, value.bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

bool RegistryKeyExists(const std::wstring& subkey) {
    return OpenKey(subkey, KEY_QUERY_VALUE).valid();
}

std::vector<std::wstring> RegistryValueNames(const std::wstring& subkey) {
    std::vector<std::wstring> names;
    const UniqueHkey key = OpenKey(subkey, KEY_QUERY_VALUE);
    if (!key) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        std::array<wchar_t, 256> name{};
        DWORD length = static_cast<DWORD>(name.size());
        if (::RegEnumValueW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name.data(), length);
    }
    return names;
}

std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t unit : text) {
        narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return narrow;
}

RegistryValue TextValue(DWORD type, std::wstring_view text) {
    RegistryValue value{type, {}};
    for (wchar_t unit : text) {
        value.bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        value.bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    value.bytes.push_back(0);
    value.bytes.push_back(0);
    return value;
}

RegistryValue NumberValue(DWORD number) {
    RegistryValue value{REG_DWORD, std::vector<std::uint8_t>(sizeof number)};
    for (std::size_t i = 0; i < sizeof number; ++i) {
        value.bytes[i] = static_cast<std::uint8_t>(number >> (8 * i));
    }
    return value;
}

ScopedRegistryCleanup::ScopedRegistryCleanup(std::wstring subkey)
    : subkey_(std::move(subkey)), existedBefore_(RegistryKeyExists(subkey_)) {}

ScopedRegistryCleanup::~ScopedRegistryCleanup() {
    if (!existedBefore_) {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, subkey_.c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, subkey_.c_str());
    }
}

}  // namespace brambolt::testing
