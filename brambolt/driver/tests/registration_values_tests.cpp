#include <gtest/gtest.h>

#include <string>

#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/tests/registry_test_support.h"

namespace brambolt {
namespace {

using testing::NumberValue;
using testing::ReadRegistryValue;
using testing::RegistryValue;
using testing::ScopedRegistryCleanup;
using testing::TextValue;

const std::wstring kMinimalKey =
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\TarnBrambolt.sys";
const std::wstring kNetworkKey =
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Network\\TarnBrambolt.sys";
const std::wstring kSid = L"S-1-5-21-0-0-0-1001";
const std::wstring kProgramDirectory = L"C:\\Program Files\\Vorlin";

// A service name of this test run, so the test never touches a real user's registration.
std::wstring TestServiceName() {
    return L"TARNBRT_TEST_" + std::to_wstring(::GetCurrentProcessId());
}

class DriverRegistrationValues : public ::testing::Test {
  protected:
    const std::wstring serviceName = TestServiceName();
    const std::wstring serviceKey = DriverServiceKey(serviceName);
    ScopedRegistryCleanup minimal{kMinimalKey};
    ScopedRegistryCleanup network{kNetworkKey};
    ScopedRegistryCleanup service{serviceKey};

    void ExpectTheFullRegistration() const {
        struct Expected {
            std::wstring key;
            const wchar_t* name;
            RegistryValue value;
        };
        const std::wstring instance = serviceKey + L"\\Instances\\Brambolt Instance1001";
        const Expected rows[] = {
            {kMinimalKey, L"", TextValue(REG_SZ, L"Driver")},
            {kNetworkKey, L"", TextValue(REG_SZ, L"Driver")},
            {serviceKey, L"Type", NumberValue(2)},
            {serviceKey, L"Start", NumberValue(1)},
            {serviceKey, L"ErrorControl", NumberValue(1)},
            {serviceKey, L"DisplayName", TextValue(REG_SZ, serviceName)},
            {serviceKey, L"Description", TextValue(REG_SZ, L"TARNBRAMBOLT Mini-Filter Driver")},
            {serviceKey, L"Group", TextValue(REG_SZ, L"FSFilter Security Enhancer")},
            {serviceKey, L"DependOnService",
             RegistryValue{REG_MULTI_SZ,
                           {'F', 0, 'l', 0, 't', 0, 'M', 0, 'g', 0, 'r', 0, 0, 0, 0, 0}}},
            {serviceKey, L"ImagePath",
             TextValue(REG_EXPAND_SZ, L"\\??\\C:\\Program Files\\Vorlin\\TarnBrambolt.sys")},
            {serviceKey + L"\\Parameters", L"SupportedFeatures", NumberValue(3)},
            {instance, L"Altitude", TextValue(REG_SZ, L"80580.1001")},
            {instance, L"Flags", NumberValue(0)},
            {serviceKey + L"\\Instances", L"DefaultInstance",
             TextValue(REG_SZ, L"Brambolt Instance1001")},
        };
        for (const Expected& row : rows) {
            const std::optional<RegistryValue> found = ReadRegistryValue(row.key, row.name);
            ASSERT_TRUE(found.has_value()) << "missing " << testing::Narrow(row.name);
            EXPECT_EQ(found->type, row.value.type) << testing::Narrow(row.name);
            EXPECT_EQ(found->bytes, row.value.bytes) << testing::Narrow(row.name);
        }
    }
};

TEST_F(DriverRegistrationValues, EveryValueHasItsTypeAndByteCount) {
    WriteDriverRegistration(serviceName, kSid, kProgramDirectory);
    ExpectTheFullRegistration();
    EXPECT_EQ(ReadRegistryValue(serviceKey, L"DependOnService")->bytes.size(), 16U);
    EXPECT_EQ(ReadRegistryValue(serviceKey, L"DisplayName")->bytes.size(),
              2 * serviceName.size() + 2);
}

TEST_F(DriverRegistrationValues, ASecondInstallRewritesTheSameValues) {
    WriteDriverRegistration(serviceName, kSid, kProgramDirectory);
    {
        UniqueHkey key;
        ASSERT_EQ(
            ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, serviceKey.c_str(), 0, KEY_ALL_ACCESS, key.put()),
            ERROR_SUCCESS);
        const DWORD demandStart = 3;
        ::RegSetValueExW(key.get(), L"Start", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&demandStart), sizeof demandStart);
        ::RegDeleteValueW(key.get(), L"DependOnService");
        ::RegSetValueExW(key.get(), L"Group", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4);
    }
    WriteDriverRegistration(serviceName, kSid, kProgramDirectory);
    ExpectTheFullRegistration();
}

TEST_F(DriverRegistrationValues, WithoutASidTheInstanceIsNamedNoSid) {
    WriteDriverRegistration(serviceName, std::nullopt, kProgramDirectory);
    const std::wstring instance = serviceKey + L"\\Instances\\Brambolt Instance_NOSID";
    EXPECT_EQ(ReadRegistryValue(instance, L"Altitude"), TextValue(REG_SZ, L"80580.5"));
    EXPECT_EQ(ReadRegistryValue(serviceKey + L"\\Instances", L"DefaultInstance"),
              TextValue(REG_SZ, L"Brambolt Instance_NOSID"));
}

TEST_F(DriverRegistrationValues, ASidEndingInAShortNumberGivesTheBareAltitude) {
    WriteDriverRegistration(serviceName, std::wstring(L"S-1-5-21-0-0-0-500"), kProgramDirectory);
    EXPECT_EQ(ReadRegistryValue(serviceKey + L"\\Instances\\Brambolt Instance", L"Altitude"),
              TextValue(REG_SZ, L"80580."));
}

TEST_F(DriverRegistrationValues, AnImagePathBeyondMaxPathRegistersNoService) {
    const std::wstring longDirectory = L"C:\\" + std::wstring(MAX_PATH - 20, L'D');
    WriteDriverRegistration(serviceName, kSid, longDirectory);
    EXPECT_FALSE(testing::RegistryKeyExists(serviceKey));
    EXPECT_TRUE(testing::RegistryKeyExists(kMinimalKey));
}

}  // namespace
}  // namespace brambolt
