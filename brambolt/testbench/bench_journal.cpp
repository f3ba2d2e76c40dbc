#include "brambolt/testbench/bench_journal.h"

#include <shlobj.h>

#include <array>
#include <cstdio>
#include <sstream>

namespace brambolt::testbench {

namespace {

constexpr wchar_t kStateKey[] = L"SOFTWARE\\BramboltTestBench\\Drivers";

std::wstring JournalPath() {
    const std::wstring folder = BenchFolder();
    return folder.empty() ? folder : folder + L"\\journal.log";
}

// Requests that carry a number between their subject and their outcome.
bool HasValueColumn(RequestKind kind) {
    return kind == RequestKind::Control || kind == RequestKind::ShellOpen;
}

const wchar_t* KindName(RequestKind kind) {
    switch (kind) {
        case RequestKind::Load:
            return L"load";
        case RequestKind::Unload:
            return L"unload";
        case RequestKind::Open:
            return L"open";
        case RequestKind::Control:
            return L"control";
        case RequestKind::Close:
            return L"close";
        case RequestKind::Browse:
            return L"browse";
        case RequestKind::ShellOpen:
            return L"shellopen";
    }
    return L"?";
}

std::optional<RequestKind> KindFromName(const std::wstring& name) {
    for (RequestKind kind :
         {RequestKind::Load, RequestKind::Unload, RequestKind::Open, RequestKind::Control,
          RequestKind::Close, RequestKind::Browse, RequestKind::ShellOpen}) {
        if (name == KindName(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                          nullptr, nullptr);
    return utf8;
}

// The journal as it stands, while other processes may be appending to it.
std::string ReadSharedText(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string content;
    if (!file) {
        return content;
    }
    std::array<char, 4096> chunk{};
    DWORD got = 0;
    while (::ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) !=
               FALSE &&
           got > 0) {
        content.append(chunk.data(), got);
    }
    return content;
}

std::vector<std::wstring> SplitTabs(const std::wstring& line) {
    std::vector<std::wstring> fields;
    std::wstring::size_type start = 0;
    while (true) {
        const auto tab = line.find(L'\t', start);
        fields.push_back(
            line.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start));
        if (tab == std::wstring::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

UniqueHkey OpenStateKey(const std::wstring& serviceName, bool create) {
    const std::wstring path = std::wstring(kStateKey) + L"\\" + serviceName;
    UniqueHkey key;
    if (create) {
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    } else {
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put());
    }
    return key;
}

DWORD ReadDword(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return 0;
    }
    return value;
}

void WriteDword(HKEY key, const wchar_t* name, DWORD value) {
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

std::vector<std::wstring> ReadMultiString(HKEY key, const wchar_t* name) {
    DWORD size = 0;
    DWORD type = 0;
    std::vector<std::wstring> strings;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ || size < sizeof(wchar_t)) {
        return strings;
    }
    std::wstring buffer(size / sizeof(wchar_t), L'\0');
    ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    std::wstring::size_type start = 0;
    while (start < buffer.size() && buffer[start] != L'\0') {
        const auto end = buffer.find(L'\0', start);
        strings.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

void WriteMultiString(HKEY key, const wchar_t* name, const std::vector<std::wstring>& strings) {
    std::wstring buffer;
    for (const auto& s : strings) {
        buffer.append(s);
        buffer.push_back(L'\0');
    }
    buffer.push_back(L'\0');
    ::RegSetValueExW(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(buffer.data()),
                     static_cast<DWORD>(buffer.size() * sizeof(wchar_t)));
}

}  // namespace

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          size);
    return wide;
}

std::wstring BenchFolder() {
    std::array<wchar_t, MAX_PATH> folder{};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                  folder.data()))) {
        return {};
    }
    std::wstring path(folder.data());
    path.append(L"\\BramboltTestBench");
    ::CreateDirectoryW(path.c_str(), nullptr);  // exists after the first request
    return path;
}

BenchLock::BenchLock() : mutex_(::CreateMutexW(nullptr, FALSE, L"BramboltTestBenchLock")) {
    if (mutex_) {
        ::WaitForSingleObject(mutex_.get(), INFINITE);
    }
}

BenchLock::~BenchLock() {
    if (mutex_) {
        ::ReleaseMutex(mutex_.get());
    }
}

void AppendJournal(const JournalEntry& entry) {
    std::wostringstream line;
    line << entry.processId << L'\t' << KindName(entry.kind) << L'\t' << entry.subject << L'\t';
    if (HasValueColumn(entry.kind)) {
        if (entry.value.has_value()) {
            line << *entry.value;
        } else {
            line << L'-';
        }
        line << L'\t';
    }
    line << entry.outcome;
    if (!entry.reason.empty()) {
        line << L'\t' << entry.reason;
    }
    line << L'\n';
    const std::string utf8 = ToUtf8(line.str());
    const BenchLock hold;
    UniqueFile file(::CreateFileW(JournalPath().c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::vector<JournalEntry> ReadJournal() {
    std::string content;
    {
        const BenchLock hold;
        content = ReadSharedText(JournalPath());
    }
    std::vector<JournalEntry> entries;
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::wstring> fields = SplitTabs(FromUtf8(line));
        if (fields.size() < 4) {
            continue;
        }
        const std::optional<RequestKind> kind = KindFromName(fields[1]);
        if (!kind.has_value()) {
            continue;
        }
        JournalEntry entry;
        entry.processId = static_cast<std::uint32_t>(std::wcstoul(fields[0].c_str(), nullptr, 10));
        entry.kind = *kind;
        entry.subject = fields[2];
        std::size_t next = 3;
        if (HasValueColumn(*kind)) {
            if (fields.size() < 5) {
                continue;
            }
            if (fields[3] != L"-") {
                entry.value =
                    static_cast<std::int32_t>(std::wcstol(fields[3].c_str(), nullptr, 10));
            }
            next = 4;
        }
        entry.outcome = fields[next];
        if (fields.size() > next + 1) {
            entry.reason = fields[next + 1];
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void ClearJournal() {
    const BenchLock hold;
    ::DeleteFileW(JournalPath().c_str());  // a missing journal is an empty one
}

DriverState ReadDriverState(const std::wstring& serviceName) {
    const BenchLock hold;
    DriverState state;
    const UniqueHkey key = OpenStateKey(serviceName, false);
    if (!key) {
        return state;
    }
    state.loaded = ReadDword(key.get(), L"Loaded") != 0;
    state.protection = static_cast<std::int32_t>(ReadDword(key.get(), L"Protection"));
    state.dataAccess = static_cast<std::int32_t>(ReadDword(key.get(), L"DataAccess"));
    state.lockListRead = static_cast<LockListRead>(ReadDword(key.get(), L"LockListRead"));
    state.hiddenFolders = ReadMultiString(key.get(), L"HiddenFolders");
    return state;
}

void WriteDriverState(const std::wstring& serviceName, const DriverState& state) {
    const BenchLock hold;
    const UniqueHkey key = OpenStateKey(serviceName, true);
    if (!key) {
        return;
    }
    WriteDword(key.get(), L"Loaded", state.loaded ? 1 : 0);
    WriteDword(key.get(), L"Protection", static_cast<DWORD>(state.protection));
    WriteDword(key.get(), L"DataAccess", static_cast<DWORD>(state.dataAccess));
    WriteDword(key.get(), L"LockListRead", static_cast<DWORD>(state.lockListRead));
    WriteMultiString(key.get(), L"HiddenFolders", state.hiddenFolders);
}

void ResetStandIn() {
    {
        const BenchLock hold;
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kStateKey);
    }
    ClearJournal();
}

}  // namespace brambolt::testbench
