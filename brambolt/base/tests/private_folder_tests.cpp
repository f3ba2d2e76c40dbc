// The elevated program's folders against what a process of the user could plant there: a link at
// the name of a save's temporary file, a link in place of the folder, and the folder's own
// access list, read back from what Wine stores.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "brambolt/base/file_replace.h"
#include "brambolt/base/private_folder.h"
#include "brambolt/base/tests/folder_security.h"
#include "brambolt/base/tests/test_folder.h"

namespace brambolt {
namespace {

using testing::AccessEntry;
using testing::PlantUnixLink;
using testing::ReadFileBytes;
using testing::ReadFolderAccessList;
using testing::RemoveUnixLink;
using testing::SystemKeepsAccessLists;
using testing::TestFolder;
using testing::WriteFileBytes;

const std::vector<std::uint8_t> kVictimBytes = {'v', 'i', 'c', 't', 'i', 'm'};
const std::vector<std::uint8_t> kSavedBytes = {0xFF, 0xFE, 'C', 0, ':', 0};

// Full control (FILE_ALL_ACCESS) for SYSTEM and Administrators, inherited by files and folders.
const std::vector<AccessEntry> kPrivateEntries = {
    {L"S-1-5-18", 0x001F01FF, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE},
    {L"S-1-5-32-544", 0x001F01FF, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE}};

// A folder inside a test folder, removed before it.
class Subfolder {
  public:
    Subfolder(const TestFolder& parent, const wchar_t* name) : path_(parent.File(name)) {}
    Subfolder(const Subfolder&) = delete;
    Subfolder& operator=(const Subfolder&) = delete;
    ~Subfolder() { ::RemoveDirectoryW(path_.c_str()); }
    [[nodiscard]] const std::wstring& path() const noexcept { return path_; }

  private:
    std::wstring path_;
};

// A link planted where the program writes or deletes by a fixed name, pointing at a file of the
// attacker's choosing: the program's step leaves that file as it was.
TEST(PlantedLink, NeitherASaveNorARemovalReachesWhatALinkLeadsTo) {
    struct Case {
        const char* name;
        const wchar_t* linkName;
        bool (*step)(const std::wstring& target);
    };
    const Case cases[] = {
        {"a save, the link at the temporary file's former fixed name", L"TARNLOCKLIST.INI.tmp",
         [](const std::wstring& target) { return ReplaceFileContents(target, kSavedBytes); }},
        {"the removal of the file, the link at its own name", L"TARNLOCKLIST.INI",
         [](const std::wstring& target) { return SystemFileOperations().Remove(target.c_str()); }},
    };
    for (const Case& planted : cases) {
        const TestFolder folder;
        const std::wstring victim = folder.File(L"victim.txt");
        const std::wstring link = folder.File(planted.linkName);
        ASSERT_TRUE(WriteFileBytes(victim, kVictimBytes)) << planted.name;
        ASSERT_TRUE(PlantUnixLink(victim, link)) << planted.name;

        planted.step(folder.File(L"TARNLOCKLIST.INI"));
        EXPECT_EQ(ReadFileBytes(victim), kVictimBytes) << planted.name;
        EXPECT_TRUE(RemoveUnixLink(link)) << planted.name;
    }
}

TEST(PrivateFolder, CreatedOrFoundItHasOnlySystemAndAdministratorsNothingInherited) {
    if (!SystemKeepsAccessLists()) {
        GTEST_SKIP() << "this system keeps no access lists (Wine): only Windows shows them";
    }
    for (const bool existed : {false, true}) {
        const TestFolder parent;
        const Subfolder folder(parent, L"TARNBRT_DATA");
        if (existed) {
            ASSERT_NE(::CreateDirectoryW(folder.path().c_str(), nullptr), FALSE);
        }
        ASSERT_TRUE(PreparePrivateFolder(folder.path())) << "existed " << existed;
        const auto list = ReadFolderAccessList(folder.path());
        ASSERT_TRUE(list.has_value()) << "existed " << existed;
        EXPECT_TRUE(list->isProtected) << "existed " << existed;
        EXPECT_EQ(list->entries, kPrivateEntries) << "existed " << existed;
    }
}

TEST(PrivateFolder, AFolderThatIsALinkIsRefusedAndWhatItLeadsToIsUnchanged) {
    const TestFolder parent;
    const Subfolder real(parent, L"elsewhere");
    ASSERT_NE(::CreateDirectoryW(real.path().c_str(), nullptr), FALSE);
    const auto before = ReadFolderAccessList(real.path());
    ASSERT_TRUE(before.has_value());
    const std::wstring link = parent.File(L"TARNBRT_DATA");
    ASSERT_TRUE(PlantUnixLink(real.path(), link));

    EXPECT_FALSE(PreparePrivateFolder(link));
    const auto after = ReadFolderAccessList(real.path());
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->isProtected, before->isProtected);
    EXPECT_EQ(after->entries, before->entries);
    EXPECT_TRUE(RemoveUnixLink(link));
}

}  // namespace
}  // namespace brambolt
