// The shipped shell's open of a list entry: only a folder is opened, so an entry that names a
// program (a list written while the folder was open to the user) never runs it.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "brambolt/base/tests/test_folder.h"
#include "brambolt/folders/shell_port.h"

namespace brambolt {
namespace {

using testing::TestFolder;
using testing::WriteFileBytes;

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(ShellOpen, AnEntryNamingAProgramDoesNotRunIt) {
    const TestFolder folder;
    const std::wstring marker = folder.File(L"ran.txt");
    const std::string script = "echo ran> \"" +
                               std::string(marker.begin(), marker.end()) +  // an ASCII test path
                               "\"\r\n";
    const std::wstring program = folder.File(L"entry.cmd");
    ASSERT_TRUE(WriteFileBytes(program, {script.begin(), script.end()}));

    CurrentShellPort().OpenFolder(program);

    // The shell starts what it opens on its own time: a started script would leave its mark
    // well within this.
    for (int wait = 0; wait < 40 && !Exists(marker); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    EXPECT_FALSE(Exists(marker)) << "the entry was run";
}

}  // namespace
}  // namespace brambolt
