#include "glyphsnap/recognition/winrt/runtime.h"

#include <new>

namespace glyphsnap::winrt {
namespace {

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function) {
    // GetProcAddress hands out a generic function pointer; the names fix the real signatures.
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    return function != nullptr;
}

std::optional<RuntimeFunctions> FindRuntimeFunctions() {
    // Only ever the combase the process already uses (loaded with COM on Windows 8 and later):
    // loading it by name would search the program's folder on systems that have none.
    const HMODULE combase = ::GetModuleHandleW(L"combase.dll");
    if (combase == nullptr) {
        return std::nullopt;
    }
    RuntimeFunctions functions;
    if (!Find(combase, "RoGetActivationFactory", functions.getActivationFactory) ||
        !Find(combase, "RoActivateInstance", functions.activateInstance) ||
        !Find(combase, "WindowsCreateString", functions.createString) ||
        !Find(combase, "WindowsDeleteString", functions.deleteString) ||
        !Find(combase, "WindowsGetStringRawBuffer", functions.stringRawBuffer)) {
        return std::nullopt;
    }
    return functions;
}

}  // namespace

const RuntimeFunctions* LoadRuntimeFunctions() {
    static const std::optional<RuntimeFunctions> functions = FindRuntimeFunctions();
    return functions ? &*functions : nullptr;
}

void CancelOperation(IUnknown* operation) noexcept {
    Ref<IAsyncInfo> info;
    if (SUCCEEDED(operation->QueryInterface(kIidAsyncInfo, reinterpret_cast<void**>(info.Put())))) {
        (void)info->Cancel();  // an operation past cancelling answers with an error; nothing waits
    }
}

void Check(HRESULT result) {
    if (result == E_OUTOFMEMORY) {
        throw std::bad_alloc();
    }
    if (FAILED(result)) {
        throw RuntimeCallError{result};
    }
}

HString::HString(const RuntimeFunctions& runtime, std::wstring_view text) : runtime_(&runtime) {
    Check(runtime.createString(text.data(), static_cast<UINT32>(text.size()), &string_));
}

std::u16string HString::Units() const {
    UINT32 length = 0;
    const WCHAR* units = runtime_->stringRawBuffer(string_, &length);
    if (units == nullptr || length == 0) {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(units), length);
}

void HString::Reset() noexcept {
    if (string_ != nullptr) {
        (void)runtime_->deleteString(string_);
        string_ = nullptr;
    }
}

CompletionSignal::CompletionSignal() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!event_) {
        throw std::bad_alloc();
    }
}

bool CompletionSignal::WaitUntil(std::chrono::steady_clock::time_point deadline) const noexcept {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const DWORD milliseconds = left.count() <= 0 ? 0 : static_cast<DWORD>(left.count());
    return ::WaitForSingleObject(event_.get(), milliseconds) == WAIT_OBJECT_0;
}

void CompletionSignal::Signal(AsyncStatus status) noexcept {
    status_ = status;
    ::SetEvent(event_.get());
}

}  // namespace glyphsnap::winrt
