// The stand-in runtime's entry points: the activation factories that Wine's RoGetActivationFactory
// asks for, and the registration of its classes in the prefix (regsvr32), which keeps any class
// the prefix already had and gives it back on unregistration.
#include <array>
#include <fstream>

#include "glyphsnap/tests/winrt_standin/standin_object.h"

namespace glyphsnap::standin {
namespace {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

struct StandInClass {
    std::wstring_view name;
    Ref<IActivationFactory> (*make)();
};

const std::array<StandInClass, 6> kClasses{{
    {kCryptographicBufferClass, &MakeCryptographicBufferFactory},
    {kInMemoryRandomAccessStreamClass, &MakeInMemoryStreamFactory},
    {kDataWriterClass, &MakeDataWriterFactory},
    {kBitmapDecoderClass, &MakeBitmapDecoderFactory},
    {kBitmapTransformClass, &MakeBitmapTransformFactory},
    {kOcrEngineClass, &MakeOcrEngineFactory},
}};

constexpr wchar_t kClassesKey[] = L"Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\";
constexpr wchar_t kSavedValue[] = L"DllPathBeforeStandIn";

std::wstring ReadString(HKEY key, const wchar_t* name) {
    std::array<wchar_t, MAX_PATH * 2> value{};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()),
                         &size) != ERROR_SUCCESS) {
        return {};
    }
    return value.data();
}

void WriteString(HKEY key, const wchar_t* name, const std::wstring& value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

void Log(const std::string& line) {
    static std::mutex mutex;
    const std::wstring path = [] {
        std::array<wchar_t, MAX_PATH> buffer{};
        const DWORD length =
            GetEnvironmentVariableW(L"GLYPHSNAP_STANDIN_LOG", buffer.data(), MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::wstring(buffer.data(), length)
                                               : std::wstring();
    }();
    if (path.empty()) {
        return;
    }
    std::lock_guard lock(mutex);
    std::ofstream(path.c_str(), std::ios::app | std::ios::binary) << line << '\n';
}

}  // namespace glyphsnap::standin

using namespace glyphsnap::standin;

extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetActivationFactory(HSTRING classId, IActivationFactory** factory) {
    UINT32 length = 0;
    const WCHAR* name = WindowsGetStringRawBuffer(classId, &length);
    for (const StandInClass& standIn : kClasses) {
        if (standIn.name == std::wstring_view(name, length)) {
            Ref<IActivationFactory> made = standIn.make();
            return Hand(made, factory);
        }
    }
    *factory = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
    return S_FALSE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
    std::array<wchar_t, MAX_PATH> path{};
    GetModuleFileNameW(ThisModule(), path.data(), MAX_PATH);
    for (const StandInClass& standIn : kClasses) {
        HKEY key = nullptr;
        const std::wstring name = std::wstring(kClassesKey) + std::wstring(standIn.name);
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return E_FAIL;
        }
        if (const std::wstring previous = ReadString(key, L"DllPath");
            !previous.empty() && previous != path.data() && ReadString(key, kSavedValue).empty()) {
            WriteString(key, kSavedValue, previous);
        }
        WriteString(key, L"DllPath", path.data());
        const DWORD activation = 0;  // in process
        RegSetValueExW(key, L"ActivationType", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&activation), sizeof(activation));
        RegCloseKey(key);
    }
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
    for (const StandInClass& standIn : kClasses) {
        const std::wstring name = std::wstring(kClassesKey) + std::wstring(standIn.name);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_ALL_ACCESS, &key) !=
            ERROR_SUCCESS) {
            continue;
        }
        const std::wstring saved = ReadString(key, kSavedValue);
        if (!saved.empty()) {
            WriteString(key, L"DllPath", saved);
            RegDeleteValueW(key, kSavedValue);
        }
        RegCloseKey(key);
        if (saved.empty()) {
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, name.c_str());
        }
    }
    return S_OK;
}
