// The per-user folders of the elevated program, found or made through the names' own calls, are
// private to SYSTEM and Administrators: the data folder and the web views' user data folder
// beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "brambolt/base/tests/folder_security.h"
#include "brambolt/driver/user_names.h"

namespace brambolt {
namespace {

using testing::AccessEntry;
using testing::ReadFolderAccessList;

const std::vector<AccessEntry> kPrivateEntries = {
    {L"S-1-5-18", 0x001F01FF, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE},
    {L"S-1-5-32-544", 0x001F01FF, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE}};

std::wstring FolderOf(const std::wstring& file) {
    return file.substr(0, file.find_last_of(L'\\'));
}

TEST(DataFolderSafety, TheDataFolderAndTheWebViewFolderAreOnlySystemsAndAdministrators) {
    const std::optional<std::wstring> list = GetLockListPath();
    ASSERT_TRUE(list.has_value());
    const std::wstring dataFolder = FolderOf(*list);
    const std::optional<std::wstring> webView = GetWebViewDataFolder();
    ASSERT_TRUE(webView.has_value());
    EXPECT_EQ(*webView, dataFolder + L".WebView2");

    const DWORD attributes = ::GetFileAttributesW(webView->c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    if (!testing::SystemKeepsAccessLists()) {
        GTEST_SKIP() << "this system keeps no access lists (Wine): only Windows shows them";
    }
    for (const std::wstring& folder : {dataFolder, *webView}) {
        const auto read = ReadFolderAccessList(folder);
        ASSERT_TRUE(read.has_value()) << std::string(folder.begin(), folder.end());
        EXPECT_TRUE(read->isProtected) << std::string(folder.begin(), folder.end());
        EXPECT_EQ(read->entries, kPrivateEntries) << std::string(folder.begin(), folder.end());
    }
}

}  // namespace
}  // namespace brambolt
