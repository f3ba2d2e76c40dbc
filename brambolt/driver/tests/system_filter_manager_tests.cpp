// The install path with the system's Filter Manager. Under Wine, where these tests run, FilterLoad
// is a stub that answers every load with 0x80070032 (not supported): the box must carry that code.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "brambolt/base/tests/test_folder.h"
#include "brambolt/driver/driver_port.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/user_names.h"

namespace brambolt {
namespace {

TEST(SystemFilterManager, AFailedLoadShowsTheCodeTheFilterManagerReturned) {
    const testing::TestFolder programFolder;
    std::vector<std::wstring> messages;

    InstallAndLoadDriver(programFolder.path(),
                         [&](const std::wstring& text, UINT) { messages.push_back(text); });
    DeleteRegistryTree(DriverServiceKey(GetDriverServiceName()));

    EXPECT_EQ(messages, std::vector<std::wstring>{L"加密驱动加载失败，错误码: 0x80070032"});
}

}  // namespace
}  // namespace brambolt
