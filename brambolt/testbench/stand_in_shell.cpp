#include "brambolt/testbench/stand_in_shell.h"

#include <string>
#include <vector>

#include "brambolt/base/whole_file.h"
#include "brambolt/testbench/bench_journal.h"

namespace brambolt::testbench {
namespace {

constexpr std::uint64_t kLargestScript = std::uint64_t{1} << 20U;

// The lines of a UTF-8 script file in the stand-in's folder, without their line ends; nullopt
// when the file is missing.
std::optional<std::vector<std::wstring>> ScriptLines(const wchar_t* name) {
    const std::optional<std::vector<std::uint8_t>> bytes =
        ReadWholeFile(BenchFolder() + L"\\" + name, kLargestScript);
    if (!bytes) {
        return std::nullopt;
    }
    const std::wstring text = FromUtf8(std::string(bytes->begin(), bytes->end()));
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

JournalEntry ShellEntry(RequestKind kind, std::wstring subject) {
    JournalEntry entry;
    entry.processId = ::GetCurrentProcessId();
    entry.kind = kind;
    entry.subject = std::move(subject);
    entry.outcome = L"ok";
    return entry;
}

}  // namespace

std::wstring StandInShell::BrowseForFolder(HWND /*owner*/, const wchar_t* title) {
    AppendJournal(ShellEntry(RequestKind::Browse, title != nullptr ? title : L""));
    const std::optional<std::vector<std::wstring>> lines = ScriptLines(L"browse.txt");
    if (!lines || lines->empty()) {
        return {};
    }
    return lines->front();
}

void StandInShell::OpenFolder(const std::wstring& path) {
    JournalEntry entry = ShellEntry(RequestKind::ShellOpen, path);
    entry.value = SW_SHOWMAXIMIZED;
    AppendJournal(entry);
}

std::optional<ExplorerFolders> StandInShell::ShownFolders() {
    const std::optional<std::vector<std::wstring>> lines = ScriptLines(L"explorer.txt");
    ExplorerFolders folders;
    if (!lines) {
        return folders;
    }
    if (!lines->empty() && lines->front() == L"!unavailable") {
        return std::nullopt;
    }
    for (const std::wstring& line : *lines) {
        if (line.empty()) {
            continue;
        }
        folders.push_back(line.starts_with(L"::") ? std::nullopt
                                                  : std::optional<std::wstring>(line));
    }
    return folders;
}

StandInShell& StandInShellPort() {
    static StandInShell shell;
    return shell;
}

}  // namespace brambolt::testbench
