// The installer and its uninstaller, run silently as an administrator would, in a fresh Wine
// prefix, with a placeholder driver file. Every test starts from a machine without Brambolt and
// leaves one behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "automation.h"
#include "installer_scene.h"

namespace {

using namespace installer_scene;

const std::wstring kCurrentInstaller = WindowsPath(INSTALLER_CURRENT);
const std::wstring kEarlierInstaller = WindowsPath(INSTALLER_EARLIER);
const std::wstring kChosenFolder = L"C:\\Vorlin Test\\Brambolt";
constexpr wchar_t kMainCaption[] = L"Vorlin文件夹隐藏保护 V1.3";

// Two entries in the lock list's own bytes: C:\DATA and D:\PHOTOS.
const std::string kTwoEntries(
    "\xff\xfe"
    "C\0:\0\\\0D\0A\0T\0A\0\r\0\n\0D\0:\0\\\0P\0H\0O\0T\0O\0S\0\r\0\n\0",
    42);
const std::string kRecord = "sealed credential record stand-in";

// The same two entries as a text editor saves them: UTF-8 without the mark.
const std::string kTwoEntriesUtf8 = "C:\\DATA\r\nD:\\PHOTOS\r\n";

// The data folder, which holds the lock list.
std::wstring DataFolder() {
    const std::wstring list = LockListFile();
    return list.substr(0, list.find_last_of(L'\\'));
}

// Files the list's load would have moved aside, beside the list.
bool ListWasMovedAside() {
    WIN32_FIND_DATAW found{};
    const brambolt::UniqueFindHandle search(
        FindFirstFileW((LockListFile() + L".unreadable*").c_str(), &found));
    return static_cast<bool>(search);
}

// A copy of the setup helper that an installer or uninstaller unpacked in the temporary folder.
bool HelperInTemporaryFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    WIN32_FIND_DATAW found{};
    const brambolt::UniqueFindHandle search(
        FindFirstFileW((std::wstring(temp) + L"ns*.tmp").c_str(), &found));
    if (!search) {
        return false;
    }
    do {
        if (Exists(std::wstring(temp) + found.cFileName + L"\\BramboltSetupHelper.exe")) {
            return true;
        }
    } while (FindNextFileW(search.get(), &found) != FALSE);
    return false;
}

// The folder's own access list as text.
std::optional<std::wstring> FolderRights(const std::wstring& folder) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const brambolt::UniqueHlocal ownedDescriptor(descriptor);
    wchar_t* text = nullptr;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr) == FALSE) {
        return std::nullopt;
    }
    const brambolt::UniqueHlocal ownedText(text);
    return std::wstring(text);
}

class InstallerTest : public ::testing::Test {
  protected:
    void TearDown() override {
        // Whatever a test left: its entries, its registrations, its installation.
        DeleteFileW(LockListFile().c_str());
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kOtherUserService);
        for (const std::wstring& folder : {std::wstring(kDefaultFolder), kChosenFolder}) {
            if (Exists(folder + L"\\Uninstall.exe")) {
                installer_scene::Run(folder + L"\\Uninstall.exe", L"/S _?=" + folder);
                DeleteFileW((folder + L"\\Uninstall.exe").c_str());
                RemoveDirectoryW(folder.c_str());
            }
        }
        DeleteFileW(CredentialRecordFile().c_str());
    }

    static std::optional<DWORD> Install(const std::wstring& installer, const std::wstring& args) {
        return installer_scene::Run(installer, L"/S " + args);
    }
    static std::optional<DWORD> UninstallInPlace(const std::wstring& folder) {
        return installer_scene::Run(folder + L"\\Uninstall.exe", L"/S _?=" + folder);
    }

    static void RegisterOwnDriver(const std::wstring& folder) {
        ASSERT_TRUE(WriteRegistryText(HKEY_LOCAL_MACHINE, OwnServiceKey(), L"ImagePath",
                                      L"\\??\\" + folder + L"\\TarnBrambolt.sys"));
    }

    static inline const std::wstring kOtherUserService =
        L"SYSTEM\\CurrentControlSet\\Services\\TARNBRT_S-1-5-21-7-7-7-1001";
};

TEST_F(InstallerTest, SilentInstallPutsTheProgramsAndTheShortcutInProgramFiles) {
    ASSERT_EQ(Install(kCurrentInstaller, L""), 0U);

    for (const wchar_t* file :
         {L"Brambolt.exe", L"Glyphsnap.exe", L"TarnBrambolt.sys", L"Uninstall.exe"}) {
        EXPECT_TRUE(Exists(std::wstring(kDefaultFolder) + L"\\" + file)) << file;
    }
    EXPECT_EQ(ReadBytes(std::wstring(kDefaultFolder) + L"\\TarnBrambolt.sys"),
              "placeholder driver file for the installer tests\n");
    EXPECT_EQ(ShortcutTarget(kShortcut), L"C:\\Program Files\\Vorlin\\Brambolt\\Brambolt.exe");
}

TEST_F(InstallerTest, InstalledProgramsCarryTheProjectsVersion) {
    ASSERT_EQ(Install(kCurrentInstaller, L""), 0U);

    for (const wchar_t* program : {L"Brambolt.exe", L"Glyphsnap.exe"}) {
        EXPECT_EQ(FileVersionText(std::wstring(kDefaultFolder) + L"\\" + program),
                  L"" INSTALLER_VERSION ".0")
            << program;
    }
}

TEST_F(InstallerTest, AddRemoveProgramsEntryHoldsEveryValue) {
    ASSERT_EQ(Install(kCurrentInstaller, L"/D=" + kChosenFolder), 0U);

    struct Expected {
        const wchar_t* name;
        const wchar_t* text;
    };
    const Expected texts[] = {
        {L"DisplayName", L"Brambolt"},
        {L"DisplayVersion", L"" INSTALLER_VERSION},
        {L"Publisher", L"Vorlin"},
        {L"DisplayIcon", L"C:\\Vorlin Test\\Brambolt\\Brambolt.exe,0"},
        {L"InstallLocation", L"C:\\Vorlin Test\\Brambolt"},
        {L"UninstallString", L"\"C:\\Vorlin Test\\Brambolt\\Uninstall.exe\""},
        {L"QuietUninstallString", L"\"C:\\Vorlin Test\\Brambolt\\Uninstall.exe\" /S"},
    };
    for (const Expected& expected : texts) {
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, expected.name), expected.text)
            << expected.name;
    }
    EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoModify"), 1U);
    EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoRepair"), 1U);
    // The programs weigh several hundred kilobytes each.
    EXPECT_GT(RegistryNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize").value_or(0),
              500U);
}

TEST_F(InstallerTest, InstalledBramboltShowsItsMainWindow) {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
        GTEST_SKIP() << "no X display";
    }
    ASSERT_EQ(Install(kCurrentInstaller, L""), 0U);

    auto brambolt = winauto::StartProgram(std::wstring(kDefaultFolder) + L"\\Brambolt.exe", L"");
    ASSERT_TRUE(brambolt);
    winauto::WindowQuery mainWindow;
    mainWindow.caption = kMainCaption;
    mainWindow.processId = brambolt->processId;
    const HWND window = winauto::WaitForWindow(mainWindow, 60s);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(winauto::ControlText(window, 1001), L"增加");
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    EXPECT_EQ(winauto::WaitForExit(brambolt->process.get(), 60s), 0U);
}

TEST_F(InstallerTest, RefusesWhileBramboltRuns) {
    const HeldMutex brambolt(L"OrinKelda");

    EXPECT_EQ(Install(kCurrentInstaller, L""), 4U);
    EXPECT_FALSE(Exists(kDefaultFolder));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(InstallerTest, HostOptionWritesManifestsAndKeysThatTheUninstallerRemoves) {
    const std::wstring origin = L"chrome-extension://abcdefghijklmnopabcdefghijklmnop/";
    ASSERT_EQ(Install(kCurrentInstaller,
                      L"/ALLOW=" + origin + L",reader@example.org /D=" + kChosenFolder),
              0U);

    const std::wstring chromium = kChosenFolder + L"\\vorlin.glyphsnap.json";
    const std::wstring firefox = kChosenFolder + L"\\vorlin.glyphsnap.firefox.json";
    EXPECT_EQ(ReadBytes(chromium),
              "{\n"
              "  \"name\": \"vorlin.glyphsnap\",\n"
              "  \"description\": \"Glyphsnap: recognises the text of an image, or opens the "
              "image in a paint program\",\n"
              "  \"path\": \"C:\\\\Vorlin Test\\\\Brambolt\\\\Glyphsnap.exe\",\n"
              "  \"type\": \"stdio\",\n"
              "  \"allowed_origins\": [\n"
              "    \"chrome-extension://abcdefghijklmnopabcdefghijklmnop/\"\n"
              "  ]\n"
              "}\n");
    EXPECT_EQ(ReadBytes(firefox),
              "{\n"
              "  \"name\": \"vorlin.glyphsnap\",\n"
              "  \"description\": \"Glyphsnap: recognises the text of an image, or opens the "
              "image in a paint program\",\n"
              "  \"path\": \"C:\\\\Vorlin Test\\\\Brambolt\\\\Glyphsnap.exe\",\n"
              "  \"type\": \"stdio\",\n"
              "  \"allowed_extensions\": [\n"
              "    \"reader@example.org\"\n"
              "  ]\n"
              "}\n");
    struct HostKey {
        const wchar_t* key;
        const std::wstring& manifest;
    };
    const HostKey keys[] = {
        {L"Software\\Google\\Chrome\\NativeMessagingHosts\\vorlin.glyphsnap", chromium},
        {L"Software\\Microsoft\\Edge\\NativeMessagingHosts\\vorlin.glyphsnap", chromium},
        {L"Software\\Chromium\\NativeMessagingHosts\\vorlin.glyphsnap", chromium},
        {L"Software\\Mozilla\\NativeMessagingHosts\\vorlin.glyphsnap", firefox},
    };
    for (const HostKey& host : keys) {
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, host.key, nullptr), host.manifest) << host.key;
    }

    ASSERT_EQ(UninstallInPlace(kChosenFolder), 0U);
    for (const HostKey& host : keys) {
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, host.key)) << host.key;
    }
    EXPECT_FALSE(Exists(chromium));
    EXPECT_FALSE(Exists(firefox));
}

TEST_F(InstallerTest, HostOptionRefusesAnOriginWithoutItsFinalSlash) {
    EXPECT_EQ(
        Install(kCurrentInstaller, L"/ALLOW=chrome-extension://abcdefghijklmnopabcdefghijklmnop"),
        6U);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER,
                           L"Software\\Google\\Chrome\\NativeMessagingHosts\\vorlin.glyphsnap"));
}

TEST_F(InstallerTest, QuietUninstallWithAnEmptyListRemovesWhatItInstalledAndKeepsTheData) {
    ASSERT_EQ(Install(kCurrentInstaller, L""), 0U);
    // What Brambolt leaves behind with an empty list: its driver registration, the record.
    ASSERT_TRUE(WriteRegistryText(HKEY_LOCAL_MACHINE, OwnServiceKey(), L"ImagePath",
                                  L"\\??\\C:\\Program Files\\Vorlin\\Brambolt\\TarnBrambolt.sys"));
    ASSERT_TRUE(WriteRegistryText(HKEY_LOCAL_MACHINE, OwnServiceKey() + L"\\Instances",
                                  L"DefaultInstance", L"Brambolt Instance1000"));
    ASSERT_TRUE(WriteBytes(CredentialRecordFile(), kRecord));

    const auto quiet = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet);
    ASSERT_EQ(RunCommandLine(*quiet), 0U);
    // The uninstaller goes on from a copy of itself in the temporary folder.
    ASSERT_TRUE(WaitUntilGone(kDefaultFolder));

    EXPECT_FALSE(Exists(kShortcut));
    EXPECT_FALSE(Exists(L"C:\\Program Files\\Vorlin"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, OwnServiceKey()));
    EXPECT_EQ(ReadBytes(CredentialRecordFile()), kRecord);
}

TEST_F(InstallerTest, UninstallRefusesAndChangesNothingWhileTheListHoldsEntries) {
    ASSERT_EQ(Install(kCurrentInstaller, L"/D=" + kChosenFolder), 0U);
    ASSERT_TRUE(WriteBytes(LockListFile(), kTwoEntries));
    ASSERT_TRUE(WriteRegistryText(HKEY_LOCAL_MACHINE, OwnServiceKey(), L"ImagePath",
                                  L"\\??\\C:\\Vorlin Test\\Brambolt\\TarnBrambolt.sys"));

    EXPECT_EQ(UninstallInPlace(kChosenFolder), 3U);

    EXPECT_EQ(ReadBytes(LockListFile()), kTwoEntries);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, OwnServiceKey()));
    EXPECT_TRUE(Exists(kChosenFolder + L"\\TarnBrambolt.sys"));
    EXPECT_TRUE(Exists(kChosenFolder + L"\\Brambolt.exe"));
    EXPECT_TRUE(Exists(kShortcut));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(InstallerTest, UninstallRefusesWhileAnotherUserHasTheDriverRegistered) {
    ASSERT_EQ(Install(kCurrentInstaller, L""), 0U);
    ASSERT_TRUE(WriteRegistryText(HKEY_LOCAL_MACHINE, kOtherUserService, L"ImagePath",
                                  L"\\??\\C:\\Program Files\\Vorlin\\Brambolt\\TarnBrambolt.sys"));

    EXPECT_EQ(UninstallInPlace(kDefaultFolder), 3U);

    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOtherUserService));
    EXPECT_TRUE(Exists(std::wstring(kDefaultFolder) + L"\\TarnBrambolt.sys"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(InstallerTest, UpgradeOverAnEarlierBuildKeepsTheListAndTheRecord) {
    ASSERT_EQ(Install(kEarlierInstaller, L"/D=" + kChosenFolder), 0U);
    ASSERT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), L"1.2.9");
    ASSERT_TRUE(WriteBytes(LockListFile(), kTwoEntries));
    ASSERT_TRUE(WriteBytes(CredentialRecordFile(), kRecord));

    // No /D=: the upgrade finds the earlier folder by itself.
    ASSERT_EQ(Install(kCurrentInstaller, L""), 0U);

    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"),
              L"" INSTALLER_VERSION);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"), kChosenFolder);
    EXPECT_FALSE(Exists(kDefaultFolder));
    EXPECT_EQ(ReadBytes(LockListFile()), kTwoEntries);
    EXPECT_EQ(ReadBytes(CredentialRecordFile()), kRecord);
}

TEST_F(InstallerTest, UninstallRefusesAndChangesNothingWhenTheListCannotBeReadWhole) {
    ASSERT_EQ(Install(kCurrentInstaller, L"/D=" + kChosenFolder), 0U);
    RegisterOwnDriver(kChosenFolder);
    // A file refused to the reader (no read right) fails to open as a held one does; only
    // Windows can show it, as root under Wine reads everything.
    struct Case {
        const char* name;
        std::string bytes;
        bool heldOpen;
    };
    const Case cases[] = {
        {"UTF-8 without the mark", kTwoEntriesUtf8, false},
        {"over the size bound", kTwoEntries + std::string(std::size_t{16} << 20U, 'x'), false},
        {"held open by another process", kTwoEntries, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteBytes(LockListFile(), c.bytes)) << c.name;
        {
            // A backup program or a scanner reading the list at that moment.
            const brambolt::UniqueFile reader(
                c.heldOpen ? CreateFileW(LockListFile().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                         nullptr, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE);
            EXPECT_EQ(UninstallInPlace(kChosenFolder), 3U) << c.name;
        }
        // Compared whole, not printed: the large case is 16 MiB.
        EXPECT_TRUE(ReadBytes(LockListFile()) == c.bytes) << c.name;
        DeleteFileW(LockListFile().c_str());
        EXPECT_FALSE(ListWasMovedAside()) << c.name;
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, OwnServiceKey())) << c.name;
        EXPECT_TRUE(Exists(kChosenFolder + L"\\Brambolt.exe")) << c.name;
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << c.name;
    }
}

TEST_F(InstallerTest, UninstallChecksTheListAgainWhenUninstallIsPressed) {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
        GTEST_SKIP() << "no X display";
    }
    ASSERT_EQ(Install(kCurrentInstaller, L"/D=" + kChosenFolder), 0U);
    RegisterOwnDriver(kChosenFolder);
    auto uninstaller =
        winauto::StartProgram(kChosenFolder + L"\\Uninstall.exe", L"_?=" + kChosenFolder);
    ASSERT_TRUE(uninstaller);
    winauto::WindowQuery dialogs;
    dialogs.className = L"#32770";
    dialogs.processId = uninstaller->processId;
    const HWND confirmPage = winauto::WaitForWindow(dialogs, 60s);
    ASSERT_NE(confirmPage, nullptr);
    // The elevated helper is never run from the user's temporary folder.
    EXPECT_FALSE(HelperInTemporaryFolder());

    // Meanwhile Brambolt protects a folder, and is closed again.
    ASSERT_TRUE(WriteBytes(LockListFile(), kTwoEntries));
    ASSERT_TRUE(winauto::PressButton(confirmPage, IDOK));

    HWND notice = nullptr;
    const auto end = std::chrono::steady_clock::now() + 60s;
    while (notice == nullptr && std::chrono::steady_clock::now() < end) {
        for (const HWND window : winauto::FindTopLevelWindows(dialogs)) {
            if (window != confirmPage) {
                notice = window;
            }
        }
        Sleep(200);
    }
    ASSERT_NE(notice, nullptr);
    const auto box = winauto::ReadMessageBox(notice);
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->text.starts_with(L"若要卸载本程序，请先删除上表中的内容")) << box->text;
    // From the second check on, a Brambolt started now finds its single-instance mutex taken.
    EXPECT_TRUE(brambolt::UniqueHandle(OpenMutexW(SYNCHRONIZE, FALSE, L"OrinKelda")));
    ASSERT_TRUE(winauto::AnswerMessageBox(notice, IDOK));
    EXPECT_EQ(winauto::WaitForExit(uninstaller->process.get(), 60s), 3U);

    EXPECT_EQ(ReadBytes(LockListFile()), kTwoEntries);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, OwnServiceKey()));
    EXPECT_TRUE(Exists(kChosenFolder + L"\\TarnBrambolt.sys"));
    EXPECT_TRUE(Exists(kChosenFolder + L"\\Brambolt.exe"));
    EXPECT_TRUE(Exists(kShortcut));
}

TEST_F(InstallerTest, UninstallRemovesOnlyTheManifestsItWroteWhateverTheHostKeysName) {
    ASSERT_EQ(Install(kCurrentInstaller, L"/ALLOW=reader@example.org /D=" + kChosenFolder), 0U);
    const std::wstring victim = L"C:\\victim.json";
    ASSERT_TRUE(WriteBytes(victim, "not the installer's"));
    // Keys any process of the user can write, naming a file outside through the installation
    // folder.
    const std::wstring traversal = kChosenFolder + L"\\..\\..\\victim.json";
    const wchar_t* foreignKeys[] = {
        L"Software\\Google\\Chrome\\NativeMessagingHosts\\vorlin.other",
        L"Software\\Microsoft\\Edge\\NativeMessagingHosts\\vorlin.glyphsnap",
    };
    for (const wchar_t* key : foreignKeys) {
        ASSERT_TRUE(WriteRegistryText(HKEY_CURRENT_USER, key, nullptr, traversal)) << key;
    }

    ASSERT_EQ(UninstallInPlace(kChosenFolder), 0U);

    EXPECT_EQ(ReadBytes(victim), "not the installer's");
    for (const wchar_t* key : foreignKeys) {
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, key, nullptr), traversal) << key;
        DeleteKeyTree(HKEY_CURRENT_USER, key);
    }
    EXPECT_FALSE(Exists(kChosenFolder + L"\\vorlin.glyphsnap.firefox.json"));
    EXPECT_FALSE(
        KeyExists(HKEY_CURRENT_USER, L"Software\\Mozilla\\NativeMessagingHosts\\vorlin.glyphsnap"));
    DeleteFileW(victim.c_str());
}

TEST_F(InstallerTest, UninstallLeavesAFileItDidNotInstallAndItsFolder) {
    ASSERT_EQ(Install(kCurrentInstaller, L"/D=" + kChosenFolder), 0U);
    const std::wstring foreign = kChosenFolder + L"\\settings.json";
    ASSERT_TRUE(WriteBytes(foreign, "{}"));

    ASSERT_EQ(UninstallInPlace(kChosenFolder), 0U);

    EXPECT_EQ(ReadBytes(foreign), "{}");
    for (const wchar_t* file :
         {L"Brambolt.exe", L"Glyphsnap.exe", L"TarnBrambolt.sys", L"BramboltSetupHelper.exe"}) {
        EXPECT_FALSE(Exists(kChosenFolder + L"\\" + file)) << file;
    }
    DeleteFileW(foreign.c_str());
}

TEST_F(InstallerTest, UninstallRemovesTheWebViewDataFoldersAndThenTheWholeInstallationFolder) {
    ASSERT_EQ(Install(kCurrentInstaller, L""), 0U);
    // The cookie jars: the user's own beside the data folder, and the one that earlier versions
    // kept beside the program.
    const std::wstring userWebData = DataFolder() + L".WebView2";
    const std::wstring oldWebData = std::wstring(kDefaultFolder) + L"\\Brambolt.exe.WebView2";
    for (const std::wstring& folder : {userWebData, oldWebData}) {
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((folder + L"\\EBWebView").c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(folder + L"\\EBWebView\\Cookies", "session"));
    }
    ASSERT_TRUE(WriteBytes(CredentialRecordFile(), kRecord));

    const auto quiet = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet);
    ASSERT_EQ(RunCommandLine(*quiet), 0U);
    EXPECT_TRUE(WaitUntilGone(userWebData));
    EXPECT_TRUE(WaitUntilGone(kDefaultFolder));
    EXPECT_EQ(ReadBytes(CredentialRecordFile()), kRecord);
}

TEST_F(InstallerTest, InstallationFolderHasTheRightsOfProgramFilesWhateverFolderWasChosen) {
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
        // Wine keeps no access lists: setting one succeeds, and reading answers a list made up
        // from the folder's Unix mode.
        GTEST_SKIP() << "only Windows keeps a folder's access list";
    }
    ASSERT_EQ(Install(kCurrentInstaller, L"/D=" + kChosenFolder), 0U);

    EXPECT_EQ(FolderRights(kChosenFolder),
              L"D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"
              L"(A;OICI;FA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)"
              L"(A;OICI;0x1200a9;;;BU)");
}

TEST_F(InstallerTest, LibraryPlantedInTheChosenFolderIsNeverLoadedByTheElevatedHelper) {
    // A folder that the user made and could write before the installer closed it.
    const std::wstring planted = kChosenFolder + L"\\fltlib.dll";
    const std::wstring mark = L"C:\\planted-library-was-loaded.txt";
    CreateDirectoryW(L"C:\\Vorlin Test", nullptr);
    CreateDirectoryW(kChosenFolder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(WindowsPath(PLANTED_LIBRARY).c_str(), planted.c_str(), FALSE));

    // Every command of the helper runs: the host registration, the checks, the driver's removal.
    ASSERT_EQ(Install(kCurrentInstaller, L"/ALLOW=reader@example.org /D=" + kChosenFolder), 0U);
    RegisterOwnDriver(kChosenFolder);
    EXPECT_EQ(UninstallInPlace(kChosenFolder), 0U);

    EXPECT_FALSE(Exists(mark));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, OwnServiceKey()));
    DeleteFileW(planted.c_str());
    DeleteFileW(mark.c_str());
}

}  // namespace
