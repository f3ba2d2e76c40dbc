#include "bench_scene.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/user_names.h"

namespace e2e {

using brambolt::testbench::JournalEntry;
using brambolt::testbench::RequestKind;

void WriteBytes(const std::wstring& path, const Bytes& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void WriteUtf8(const std::wstring& path, const std::wstring& text) {
    std::string utf8(
        static_cast<std::size_t>(::WideCharToMultiByte(
            CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr)),
        '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr);
    WriteBytes(path, Bytes(utf8.begin(), utf8.end()));
}

bool RegistryKeyExists(const std::wstring& machineKey) {
    brambolt::UniqueHkey opened;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, machineKey.c_str(), 0, KEY_READ, opened.put()) ==
           ERROR_SUCCESS;
}

Words JournalWords() {
    Words words;
    for (const JournalEntry& entry : brambolt::testbench::ReadJournal()) {
        const std::wstring value = entry.value ? std::to_wstring(*entry.value) : L"";
        if (entry.kind == RequestKind::Control && entry.subject == L"0x00222164") {
            words.push_back(L"protection " + value);
        } else if (entry.kind == RequestKind::Control && entry.subject == L"0x00222180") {
            words.push_back(L"data access " + value);
        } else if (entry.kind == RequestKind::Browse) {
            words.push_back(L"browse " + entry.subject);
        } else if (entry.kind == RequestKind::ShellOpen) {
            words.push_back(L"shellopen " + entry.subject + L" " + value);
        } else if (entry.kind == RequestKind::Load) {
            words.push_back(L"load");
        } else if (entry.kind == RequestKind::Unload) {
            words.push_back(L"unload");
        }
    }
    return words;
}

void BenchScene::SetUp() {
    ASSERT_FALSE(MutexExists(kMainMutexName)) << "a Brambolt instance is still running";
    DeleteStoredWindowValue();
    brambolt::testbench::ResetStandIn();
    benchFolder_ = brambolt::testbench::BenchFolder();
    ::DeleteFileW((benchFolder_ + L"\\browse.txt").c_str());
    ::DeleteFileW((benchFolder_ + L"\\explorer.txt").c_str());
    const auto path = brambolt::GetLockListPath();
    ASSERT_TRUE(path.has_value());
    listPath_ = *path;
    RemoveListFiles();
    service_ = brambolt::GetDriverServiceName();
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kServicesKey + service_).c_str());
}

void BenchScene::TearDown() {
    for (auto& process : started_) {
        if (!winauto::WaitForExit(process.process.get(), 0ms).has_value()) {
            ::TerminateProcess(process.process.get(), 1);
            winauto::WaitForExit(process.process.get(), kExitBound);
        }
    }
    RemoveListFiles();
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kServicesKey + service_).c_str());
    brambolt::testbench::ResetStandIn();
}

void BenchScene::RemoveListFiles() const {
    const std::filesystem::path list(listPath_);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(list.parent_path(), ignored)) {
        if (entry.path().filename().wstring().starts_with(list.filename().wstring())) {
            std::filesystem::remove(entry.path(), ignored);
        }
    }
}

HWND BenchScene::Start(const std::wstring& scene, const char* program) {
    installation_ = PrepareInstallation(scene, WindowsPath(program), true);
    return StartProgram(installation_);
}

HWND BenchScene::StartProgram(const std::wstring& program) {
    auto started = winauto::StartProgram(program, L"");
    if (!started) {
        ADD_FAILURE() << "the program did not start";
        return nullptr;
    }
    started_.push_back(std::move(*started));
    winauto::WindowQuery query;
    query.caption = kMainCaption;
    query.className = kDialogClass;
    query.processId = started_.back().processId;
    query.visibleOnly = true;
    return winauto::WaitForWindow(query, kWindowBound);
}

bool BenchScene::Exited(std::chrono::milliseconds bound) {
    return winauto::WaitForExit(Process().process.get(), bound).has_value();
}

void BenchScene::Browse(const std::wstring& chosen) const {
    WriteUtf8(benchFolder_ + L"\\browse.txt", chosen);
}

void BenchScene::Explorer(const std::wstring& lines) const {
    WriteUtf8(benchFolder_ + L"\\explorer.txt", lines);
}

void BenchScene::WriteList(const brambolt::LockListEntries& entries) const {
    WriteBytes(listPath_, brambolt::EncodeLockList(entries));
}

std::optional<brambolt::LockListEntries> BenchScene::ListFile() const {
    const auto bytes = ReadFileShared(listPath_);
    return bytes ? std::optional(brambolt::DecodeLockList(*bytes)) : std::nullopt;
}

brambolt::testbench::DriverState BenchScene::Driver() const {
    return brambolt::testbench::ReadDriverState(service_);
}

bool BenchScene::DriverThreadDone() {
    bool loaded = false;
    for (const JournalEntry& entry : brambolt::testbench::ReadJournal()) {
        loaded = loaded || (entry.kind == RequestKind::Load && entry.outcome == L"0x00000000");
        if (loaded && entry.kind == RequestKind::Control && entry.subject == L"0x00222160") {
            return true;
        }
    }
    return false;
}

bool BenchScene::WaitForCommits(std::size_t count) {
    return WaitUntil([count] {
        return std::cmp_greater_equal(std::ranges::count(JournalWords(), L"data access 0"), count);
    });
}

HWND BenchScene::WaitForBox(HWND previous) {
    HWND found = nullptr;
    WaitUntil([&] {
        winauto::WindowQuery query;
        query.className = kDialogClass;
        query.processId = Process().processId;
        query.visibleOnly = true;
        for (HWND window : winauto::FindTopLevelWindows(query)) {
            if (window != previous && winauto::WindowText(window) != kMainCaption) {
                found = window;
                return true;
            }
        }
        return false;
    });
    return found;
}

std::optional<winauto::MessageBoxContent> BenchScene::AnswerBox(HWND previous) {
    HWND box = WaitForBox(previous);
    if (box == nullptr) {
        ADD_FAILURE() << "no box appeared";
        return std::nullopt;
    }
    auto content = winauto::ReadMessageBox(box);
    if (!content || content->buttons.empty()) {
        ADD_FAILURE() << "unreadable box";
        return std::nullopt;
    }
    winauto::AnswerMessageBox(box, content->buttons[0].id);
    WaitUntil([&] { return ::IsWindow(box) == FALSE; });
    return content;
}

void BenchScene::Select(HWND window, int row) {
    ::SendMessageW(::GetDlgItem(window, IDC_FOLDER_LIST), LB_SETCURSEL, static_cast<WPARAM>(row),
                   0);
}

void BenchScene::DoubleClick(HWND window) {
    winauto::Post(window, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, LBN_DBLCLK),
                  reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_FOLDER_LIST)));
}

Words BenchScene::Rows(HWND window) {
    return winauto::ListBoxRows(::GetDlgItem(window, IDC_FOLDER_LIST));
}

}  // namespace e2e
