#include "brambolt/base/program_directory.h"

#include <windows.h>

#include <shlwapi.h>

#include <array>

namespace brambolt {

namespace {
std::wstring g_programDirectory;
}  // namespace

const std::wstring& ProgramDirectory() {
    return g_programDirectory;
}

void RecordProgramDirectory() {
    std::array<wchar_t, MAX_PATH> modulePath{};
    const DWORD moduleLength = ::GetModuleFileNameW(nullptr, modulePath.data(), MAX_PATH);
    if (moduleLength == 0 || moduleLength >= MAX_PATH) {
        return;  // a cut path would name another file
    }
    std::array<wchar_t, MAX_PATH> longPath{};
    const DWORD longLength = ::GetLongPathNameW(modulePath.data(), longPath.data(), MAX_PATH);
    if (longLength == 0 || longLength >= MAX_PATH) {
        return;
    }
    ::PathRemoveFileSpecW(longPath.data());
    g_programDirectory = longPath.data();
}

}  // namespace brambolt
