// What the protected-folder commands need from the Windows shell: the folder browser, opening a
// folder in Explorer, and the folders that Explorer's windows show. The shipped program uses the
// shell itself; a test build installs a stand-in here at its composition root.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace brambolt {

// One entry per Explorer window: the file-system path it shows, or nullopt for a virtual folder
// and for a window that failed to answer.
using ExplorerFolders = std::vector<std::optional<std::wstring>>;

class ShellPort {
  public:
    virtual ~ShellPort() = default;

    // The folder browser owned by owner, rooted at the desktop, with this title and
    // BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS. The chosen folder's file-system path; empty
    // when the user cancelled or the choice has no file-system path.
    virtual std::wstring BrowseForFolder(HWND owner, const wchar_t* title) = 0;
    // Explorer on the folder, shown maximised, when the path (links followed) is a directory;
    // nothing for anything else, so an entry naming a program never runs it. The result is not
    // used.
    virtual void OpenFolder(const std::wstring& path) = 0;
    // nullopt when Explorer's window list cannot be had.
    virtual std::optional<ExplorerFolders> ShownFolders() = 0;
};

// Tells the shell that file associations changed and flushes at once, so that open Explorer
// windows redraw and show released or hidden folders as they now are.
void NotifyShellOfChange();

// The port in use: the system's unless a test build installed another.
ShellPort& CurrentShellPort();
// Composition root only, before the main window opens.
void InstallShellPort(ShellPort& port);

}  // namespace brambolt
