#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include <string>

#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/tests/registry_test_support.h"

namespace brambolt {
namespace {

using testing::RegistryKeyExists;
using testing::ScopedRegistryCleanup;

std::wstring TestTreeRoot() {
    return L"SOFTWARE\\BramboltTreeTest" + std::to_wstring(::GetCurrentProcessId());
}

void CreateKeyWithValue(const std::wstring& subkey) {
    UniqueHkey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    const DWORD value = 7;
    ::RegSetValueExW(key.get(), L"Value", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof value);
}

// Sets a DACL on the key that refuses DELETE to everyone (or, with allow, grants all again).
void SetDeleteDenied(const std::wstring& subkey, bool denied) {
    UniqueHkey key;
    ASSERT_EQ(
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, READ_CONTROL | WRITE_DAC, key.put()),
        ERROR_SUCCESS);
    wchar_t everyone[] = L"EVERYONE";
    EXPLICIT_ACCESSW entries[2]{};
    ::BuildExplicitAccessWithNameW(&entries[0], everyone, DELETE, DENY_ACCESS, NO_INHERITANCE);
    ::BuildExplicitAccessWithNameW(&entries[1], everyone, KEY_ALL_ACCESS, GRANT_ACCESS,
                                   NO_INHERITANCE);
    PACL acl = nullptr;
    ASSERT_EQ(::SetEntriesInAclW(denied ? 2 : 1, denied ? entries : entries + 1, nullptr, &acl),
              ERROR_SUCCESS);
    const UniqueHlocal aclOwner(acl);
    ASSERT_EQ(::SetSecurityInfo(key.get(), SE_REGISTRY_KEY,
                                DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, acl, nullptr),
              ERROR_SUCCESS);
}

TEST(DeleteRegistryTree, RemovesADeepTreeWithItsSiblingsAndValues) {
    const std::wstring root = TestTreeRoot();
    const ScopedRegistryCleanup cleanup(root);
    std::wstring level = root;
    for (int depth = 0; depth < 24; ++depth) {
        level += L"\\Level" + std::to_wstring(depth);
        for (const wchar_t* sibling : {L"\\A", L"\\M", L"\\Z"}) {
            CreateKeyWithValue(level + sibling);
        }
    }
    ASSERT_TRUE(RegistryKeyExists(level + L"\\M"));

    DeleteRegistryTree(root);  // the HKEY_LOCAL_MACHINE form the program calls
    EXPECT_FALSE(RegistryKeyExists(root));
}

TEST(DeleteRegistryTree, AMissingKeyIsNotAnError) {
    EXPECT_FALSE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, TestTreeRoot() + L"\\Missing"));
    EXPECT_FALSE(RegistryKeyExists(TestTreeRoot()));
}

TEST(DeleteRegistryTree, AChildThatCannotBeDeletedStopsTheDeletion) {
    const std::wstring root = TestTreeRoot();
    const std::wstring stuck = root + L"\\M";
    CreateKeyWithValue(root + L"\\A\\Inner");
    CreateKeyWithValue(stuck + L"\\Inner");
    SetDeleteDenied(stuck, true);
    UniqueHkey probe;
    ASSERT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, stuck.c_str(), 0, KEY_ALL_ACCESS, probe.put()),
              ERROR_SUCCESS)
        << "the denying DACL must refuse the full-access open that deletion starts with";

    // Returning at all is the point: the stuck child would come back at index 0 for ever.
    EXPECT_FALSE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, root));
    EXPECT_TRUE(RegistryKeyExists(stuck));
    EXPECT_TRUE(RegistryKeyExists(root));

    SetDeleteDenied(stuck, false);
    EXPECT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, root));
    EXPECT_FALSE(RegistryKeyExists(root));
}

}  // namespace
}  // namespace brambolt
