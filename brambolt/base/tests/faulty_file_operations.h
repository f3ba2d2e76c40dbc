// The system's file operations with one chosen call made to fail, for finding what a save leaves on
// disk when it is cut short at that step.
#pragma once

#include <windows.h>

#include <vector>

#include "brambolt/base/file_operations.h"

namespace brambolt::testing {

class FaultyFileOperations final : public FileOperations {
  public:
    enum class Mode {
        kFailOneCall,  // call number failingCall fails, the rest work: the save can clean up
        kCrash,        // from call number failingCall on nothing works: the process is gone
    };

    FaultyFileOperations(int failingCall, Mode mode) : failingCall_(failingCall), mode_(mode) {}
    FaultyFileOperations(const FaultyFileOperations&) = delete;
    FaultyFileOperations& operator=(const FaultyFileOperations&) = delete;
    // Handles a crashed process held are closed with it.
    ~FaultyFileOperations() override { CloseLeftHandles(); }

    [[nodiscard]] int calls() const noexcept { return calls_; }
    void CloseLeftHandles();

    OpenedFile Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) override;
    bool Write(HANDLE file, const void* data, DWORD size) override;
    bool Flush(HANDLE file) override;
    bool Replace(const wchar_t* from, const wchar_t* to) override;
    bool Remove(const wchar_t* path) override;

  protected:
    bool Close(HANDLE file) override;

  private:
    bool Fails();

    int failingCall_;
    Mode mode_;
    int calls_ = 0;
    std::vector<HANDLE> open_;
};

}  // namespace brambolt::testing
