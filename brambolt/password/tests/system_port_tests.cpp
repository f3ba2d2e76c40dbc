// The install path with the system's Filter Manager, which under Wine answers every load with
// 0x80070032: the box must carry the code the load returned.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "brambolt/driver/driver_port.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/folders/tests/test_folder.h"

namespace brambolt {
namespace {

TEST(SystemDriverPort, AFailedLoadShowsTheCodeTheFilterManagerReturned) {
    const testing::TestFolder programFolder;
    std::vector<std::wstring> messages;
    DriverRegistrationEnvironment environment = ProgramDriverRegistrationEnvironment();
    environment.programDirectory = [&] { return programFolder.path(); };
    environment.showMessage = [&](const std::wstring& text, UINT) { messages.push_back(text); };

    const HRESULT direct = CurrentDriverPort().FilterLoad(GetDriverServiceName().c_str());
    ASSERT_TRUE(FAILED(direct)) << "no filter can load here";
    InstallAndLoadDriver(environment);
    DeleteRegistryTree(DriverServiceKey(GetDriverServiceName()));

    std::array<wchar_t, 64> expected{};
    swprintf(expected.data(), expected.size(), L"加密驱动加载失败，错误码: 0x%08X",
             static_cast<unsigned>(direct));
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0], expected.data());
}

}  // namespace
}  // namespace brambolt
