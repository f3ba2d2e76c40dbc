// The stand-in driver's journal of requests, shared by every process of the machine (a file
// under the common application-data folder), and its persisted driver state (registry, under
// HKLM\SOFTWARE\BramboltTestBench). This is the test-facing API.
//
// Journal file: UTF-8, one request per line, fields separated by tabs:
//   <process id> load    <service name> <HRESULT 0x%08x> [<why it failed>]
//   <process id> unload  <service name> <HRESULT 0x%08x>
//   <process id> open    <device path>  ok | refused
//   <process id> control <code 0x%08x>  <int32 value or -> ok | failed
//   <process id> close   -              ok
//   <process id> browse  <title>        ok                    (the stand-in folder browser)
//   <process id> shellopen <path>       <show command> ok     (the stand-in shell's "open")
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "brambolt/base/unique_handle.h"

namespace brambolt::testbench {

enum class RequestKind { Load, Unload, Open, Control, Close, Browse, ShellOpen };

struct JournalEntry {
    std::uint32_t processId = 0;
    RequestKind kind = RequestKind::Open;
    std::wstring subject;               // service name, device path, or the code in hex
    std::optional<std::int32_t> value;  // control requests with a 4-byte input; shell opens
    std::wstring outcome;               // "ok", "refused", "failed", or the HRESULT in hex
    std::wstring reason;                // why a load failed, else empty
};

// The stand-in's folder under the common application-data folder: the journal and the files that
// script the stand-in shell live there.
std::wstring BenchFolder();

// The journal and the stand-in's script files are UTF-8.
std::wstring FromUtf8(const std::string& text);

std::vector<JournalEntry> ReadJournal();
void ClearJournal();
void AppendJournal(const JournalEntry& entry);

enum class LockListRead { Never, Absent, Read, Malformed };

struct DriverState {
    bool loaded = false;
    std::int32_t protection = 0;
    std::int32_t dataAccess = 0;
    LockListRead lockListRead = LockListRead::Never;
    // The folders taken from the lock list file at the last protection 1 that read it.
    std::vector<std::wstring> hiddenFolders;
};

DriverState ReadDriverState(const std::wstring& serviceName);
void WriteDriverState(const std::wstring& serviceName, const DriverState& state);
// Every service unloaded and forgotten, and the journal emptied.
void ResetStandIn();

// Serialises the journal and the state between processes.
class BenchLock {
  public:
    BenchLock();
    BenchLock(const BenchLock&) = delete;
    BenchLock& operator=(const BenchLock&) = delete;
    ~BenchLock();

  private:
    UniqueHandle mutex_;
};

}  // namespace brambolt::testbench
