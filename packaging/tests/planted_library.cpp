// A library named like the Filter Manager's user-mode library, that a non-elevated process could
// plant beside an elevated program: loaded anywhere, it leaves a mark at a fixed place, and it
// offers the functions that program imports so that nothing else stops the load.
#include <windows.h>

namespace {

constexpr wchar_t kMark[] = L"C:\\planted-library-was-loaded.txt";

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI FilterLoad(LPCWSTR /*serviceName*/) {
    return E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT WINAPI FilterUnload(LPCWSTR /*serviceName*/) {
    return E_FAIL;
}

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        const HANDLE mark = CreateFileW(kMark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (mark != INVALID_HANDLE_VALUE) {
            CloseHandle(mark);
        }
    }
    return TRUE;
}
