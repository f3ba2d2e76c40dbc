#include "brambolt/folders/shell_port.h"

#include <exdisp.h>
#include <servprov.h>
#include <shellapi.h>
#include <shlobj.h>

#include <array>

#include "brambolt/base/com_ref.h"
#include "brambolt/base/unique_handle.h"

namespace brambolt {
namespace {

// The shell's window list and the interfaces that lead from one of its windows to the folder it
// shows, by their published identifiers.
constexpr CLSID kShellWindowsClass = {
    0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
constexpr IID kShellWindowsId = {
    0x85CB6900, 0x4D95, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};
constexpr IID kWebBrowserAppId = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kServiceProviderId = {
    0x6D5140C1, 0x7436, 0x11CE, {0x80, 0x34, 0x00, 0xAA, 0x00, 0x60, 0x09, 0xFA}};
constexpr GUID kTopLevelBrowserService = {
    0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};
constexpr IID kShellBrowserId = {
    0x000214E2, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kFolderViewId = {
    0xCDE725B0, 0xCCC9, 0x4519, {0x91, 0x7E, 0x32, 0x5D, 0x72, 0xFA, 0xB4, 0xCE}};
constexpr IID kPersistFolder2Id = {
    0x1AC3D9F0, 0x175C, 0x11D1, {0x95, 0xBE, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x4F}};

// An item list from the shell, freed with the task allocator.
class ItemList {
  public:
    ItemList() noexcept = default;
    explicit ItemList(PIDLIST_ABSOLUTE items) noexcept : items_(items) {}
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    ~ItemList() { ::CoTaskMemFree(items_); }
    [[nodiscard]] PIDLIST_ABSOLUTE get() const noexcept { return items_; }
    PIDLIST_ABSOLUTE* put() noexcept {
        ::CoTaskMemFree(items_);
        items_ = nullptr;
        return &items_;
    }

  private:
    PIDLIST_ABSOLUTE items_ = nullptr;
};

// The file-system path of an item list, or nullopt for a virtual folder.
std::optional<std::wstring> FileSystemPath(const ItemList& items) {
    std::array<wchar_t, MAX_PATH> path{};
    if (items.get() == nullptr || ::SHGetPathFromIDListW(items.get(), path.data()) == FALSE) {
        return std::nullopt;
    }
    return std::wstring(path.data());
}

// True when the path, with every link on the way followed, ends at a directory.
bool LeadsToDirectory(const std::wstring& path) {
    const UniqueFile opened(::CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    return opened && ::GetFileInformationByHandle(opened.get(), &information) != FALSE &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The component object model for the calling thread while the object lives.
class ComApartment {
  public:
    ComApartment() noexcept : initialised_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialised_) {
            ::CoUninitialize();
        }
    }

  private:
    bool initialised_;
};

// The folder one window of the list shows; any failing step gives nullopt. Every interface is
// released when this returns, before the next window.
std::optional<std::wstring> FolderOfWindow(IShellWindows& windows, long index) {
    VARIANT position;
    ::VariantInit(&position);
    position.vt = VT_I4;
    position.lVal = index;
    ComRef<IDispatch> item;
    if (windows.Item(position, item.put()) != S_OK || !item) {
        return std::nullopt;
    }
    ComRef<IWebBrowserApp> browserApp;
    if (FAILED(item->QueryInterface(kWebBrowserAppId, browserApp.put_void()))) {
        return std::nullopt;
    }
    SHANDLE_PTR window = 0;
    if (FAILED(browserApp->get_HWND(&window))) {
        return std::nullopt;
    }
    ComRef<IServiceProvider> services;
    if (FAILED(browserApp->QueryInterface(kServiceProviderId, services.put_void()))) {
        return std::nullopt;
    }
    ComRef<IShellBrowser> browser;
    if (FAILED(
            services->QueryService(kTopLevelBrowserService, kShellBrowserId, browser.put_void()))) {
        return std::nullopt;
    }
    ComRef<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.put()))) {
        return std::nullopt;
    }
    ComRef<IFolderView> folderView;
    if (FAILED(view->QueryInterface(kFolderViewId, folderView.put_void()))) {
        return std::nullopt;
    }
    ComRef<IPersistFolder2> folder;
    if (FAILED(folderView->GetFolder(kPersistFolder2Id, folder.put_void()))) {
        return std::nullopt;
    }
    ItemList items;
    if (FAILED(folder->GetCurFolder(items.put()))) {
        return std::nullopt;
    }
    return FileSystemPath(items);
}

class SystemShellPort final : public ShellPort {
  public:
    std::wstring BrowseForFolder(HWND owner, const wchar_t* title) override {
        BROWSEINFOW browse{};
        browse.hwndOwner = owner;
        browse.pidlRoot = nullptr;  // the desktop
        browse.lpszTitle = title;
        browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
        const ItemList chosen(::SHBrowseForFolderW(&browse));
        return FileSystemPath(chosen).value_or(std::wstring());
    }

    void OpenFolder(const std::wstring& path) override {
        if (!LeadsToDirectory(path)) {
            return;  // a program, a document or a link to one: never started from here
        }
        // The folder class's own verbs, "explore" and where a shell has none (Wine) its "open":
        // Explorer shows a folder, and nothing at that name is run by the verbs of its file type.
        for (const wchar_t* verb : {L"explore", L"open"}) {
            SHELLEXECUTEINFOW execute{};
            execute.cbSize = sizeof(execute);
            execute.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
            execute.lpVerb = verb;
            execute.lpFile = path.c_str();
            execute.lpClass = L"Folder";
            execute.nShow = SW_SHOWMAXIMIZED;
            if (::ShellExecuteExW(&execute) != FALSE) {
                return;
            }
        }
    }

    std::optional<ExplorerFolders> ShownFolders() override {
        const ComApartment apartment;
        ComRef<IShellWindows> windows;
        if (FAILED(::CoCreateInstance(kShellWindowsClass, nullptr, CLSCTX_ALL, kShellWindowsId,
                                      windows.put_void()))) {
            return std::nullopt;
        }
        long count = 0;
        if (FAILED(windows->get_Count(&count))) {
            count = 0;
        }
        ExplorerFolders folders;
        for (long index = 0; index < count; ++index) {
            folders.push_back(FolderOfWindow(*windows.get(), index));
        }
        return folders;
    }
};

SystemShellPort g_systemShell;
ShellPort* g_currentShell = &g_systemShell;

}  // namespace

void NotifyShellOfChange() {
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
}

ShellPort& CurrentShellPort() {
    return *g_currentShell;
}

void InstallShellPort(ShellPort& port) {
    g_currentShell = &port;
}

}  // namespace brambolt
