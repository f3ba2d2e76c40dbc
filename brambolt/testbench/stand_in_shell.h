// A stand-in for the Windows shell behind the program's ShellPort seam, scripted by files in the
// stand-in's folder (BenchFolder()):
//   browse.txt    UTF-8; its first line is the folder the browser returns. A missing or empty
//                 file is a cancelled browser. Every time the browser shows, the journal gets
//                 "browse <title>".
//   explorer.txt  UTF-8, one line per open Explorer window: the file-system path it shows, or a
//                 line starting with "::" for a virtual folder. A missing file is no Explorer
//                 window; a first line of exactly "!unavailable" is a window list that cannot be
//                 created.
// Opening a folder starts no Explorer: the journal gets "shellopen <path> <show command>".
#pragma once

#include "brambolt/folders/shell_port.h"

namespace brambolt::testbench {

class StandInShell final : public ShellPort {
  public:
    std::wstring BrowseForFolder(HWND owner, const wchar_t* title) override;
    void OpenFolder(const std::wstring& path) override;
    std::optional<ExplorerFolders> ShownFolders() override;
};

StandInShell& StandInShellPort();

}  // namespace brambolt::testbench
