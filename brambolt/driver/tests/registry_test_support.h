// Reading back registry keys and values that a test wrote, and removing them again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brambolt::testing {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> bytes;

    bool operator==(const RegistryValue&) const = default;
};

[[nodiscard]] std::optional<RegistryValue> ReadRegistryValue(const std::wstring& subkey,
                                                             const wchar_t* name);
[[nodiscard]] bool RegistryKeyExists(const std::wstring& subkey);
// Value names in the order the key enumerates them.
[[nodiscard]] std::vector<std::wstring> RegistryValueNames(const std::wstring& subkey);

// ASCII text of a wide string, for test messages.
[[nodiscard]] std::string Narrow(std::wstring_view text);

// A string value as the registry stores it: UTF-16LE with its terminating zero.
[[nodiscard]] RegistryValue TextValue(DWORD type, std::wstring_view text);
[[nodiscard]] RegistryValue NumberValue(DWORD number);

// Removes HKEY_LOCAL_MACHINE\subkey and everything below it when it goes out of scope,
// unless the key was there before the test began.
class ScopedRegistryCleanup {
  public:
    explicit ScopedRegistryCleanup(std::wstring subkey);
    ScopedRegistryCleanup(const ScopedRegistryCleanup&) = delete;
    ScopedRegistryCleanup& operator=(const ScopedRegistryCleanup&) = delete;
    ~ScopedRegistryCleanup();

  private:
    std::wstring subkey_;
    bool existedBefore_;
};

}  // namespace brambolt::testing
