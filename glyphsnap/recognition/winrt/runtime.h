// Owners and calls for using the Windows Runtime at its binary interface: interface references,
// HSTRINGs, class factories, and waiting for an asynchronous operation.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "glyphsnap/recognition/winrt/abi.h"

namespace glyphsnap::winrt {

// Owns one reference to an interface.
template <typename T>
class Ref {
  public:
    Ref() noexcept = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.pointer_, nullptr));
        }
        return *this;
    }
    ~Ref() { Reset(); }

    // Takes over a reference the caller already holds.
    static Ref Adopt(T* pointer) noexcept {
        Ref ref;
        ref.pointer_ = pointer;
        return ref;
    }

    [[nodiscard]] T* Get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // For calls that hand out a reference through an out parameter.
    T** Put() noexcept {
        Reset();
        return &pointer_;
    }

    void Reset(T* pointer = nullptr) noexcept {
        if (T* old = std::exchange(pointer_, pointer); old != nullptr) {
            old->Release();
        }
    }

    // The same object through another interface, or the failure of QueryInterface.
    template <typename U>
    HRESULT As(Ref<U>& other) const noexcept {
        return pointer_->QueryInterface(U::kIid, reinterpret_cast<void**>(other.Put()));
    }

  private:
    T* pointer_ = nullptr;
};

// The combase functions the recognizer needs, found at run time: Glyphsnap also starts on
// systems whose combase has no Windows Runtime (before Windows 8), where recognition is simply
// not available.
struct RuntimeFunctions {
    HRESULT(WINAPI* getActivationFactory)(HSTRING, REFIID, void**) = nullptr;
    HRESULT(WINAPI* activateInstance)(HSTRING, IInspectable**) = nullptr;
    HRESULT(WINAPI* createString)(const WCHAR*, UINT32, HSTRING*) = nullptr;
    HRESULT(WINAPI* deleteString)(HSTRING) = nullptr;
    const WCHAR*(WINAPI* stringRawBuffer)(HSTRING, UINT32*) = nullptr;
};

// The functions of the process's combase, or nothing when it lacks any of them.
const RuntimeFunctions* LoadRuntimeFunctions();

// Owns one HSTRING.
class HString {
  public:
    HString(const RuntimeFunctions& runtime, std::wstring_view text);
    explicit HString(const RuntimeFunctions& runtime) noexcept : runtime_(&runtime) {}
    HString(const HString&) = delete;
    HString& operator=(const HString&) = delete;
    ~HString() { Reset(); }

    [[nodiscard]] HSTRING Get() const noexcept { return string_; }
    HSTRING* Put() noexcept {
        Reset();
        return &string_;
    }
    // The UTF-16 units the string holds.
    [[nodiscard]] std::u16string Units() const;

  private:
    void Reset() noexcept;

    const RuntimeFunctions* runtime_;
    HSTRING string_ = nullptr;
};

// A failed platform call; `result` is what it answered.
struct RuntimeCallError {
    HRESULT result;
};

// An operation that had not completed by its deadline; it was asked to cancel.
struct OperationTimedOut {};

// Throws RuntimeCallError on failure, std::bad_alloc when the platform ran out of memory.
void Check(HRESULT result);

// Asks an operation to stop early; an operation that cannot, or is already done, carries on.
void CancelOperation(IUnknown* operation) noexcept;

template <typename Factory>
Ref<Factory> GetFactory(const RuntimeFunctions& runtime, std::wstring_view className) {
    const HString name(runtime, className);
    Ref<Factory> factory;
    Check(runtime.getActivationFactory(name.Get(), Factory::kIid,
                                       reinterpret_cast<void**>(factory.Put())));
    return factory;
}

template <typename Interface>
Ref<Interface> Activate(const RuntimeFunctions& runtime, std::wstring_view className) {
    const HString name(runtime, className);
    Ref<IInspectable> instance;
    Check(runtime.activateInstance(name.Get(), instance.Put()));
    Ref<Interface> wanted;
    Check(instance.As(wanted));
    return wanted;
}

// A completion handler that signals an event the waiting thread blocks on; the platform may call
// it from any thread, and may hold it after the wait has ended.
class CompletionSignal {
  public:
    CompletionSignal();
    // Whether the handler was called by `deadline`.
    [[nodiscard]] bool WaitUntil(std::chrono::steady_clock::time_point deadline) const noexcept;
    void Signal(AsyncStatus status) noexcept;
    [[nodiscard]] AsyncStatus Status() const noexcept { return status_; }

  private:
    struct EventCloser {
        void operator()(HANDLE event) const noexcept { ::CloseHandle(event); }
    };
    std::unique_ptr<void, EventCloser> event_;
    AsyncStatus status_ = AsyncStatus::Started;  // written before the event is set
};

template <typename TResult>
class CompletionHandler final : public IAsyncOperationCompletedHandler<TResult>,
                                public IAgileObject {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualGUID(iid, IID_IUnknown) ||
            IsEqualGUID(iid, IAsyncOperationCompletedHandler<TResult>::kIid)) {
            *object = static_cast<IAsyncOperationCompletedHandler<TResult>*>(this);
        } else if (IsEqualGUID(iid, IID_IAgileObject)) {
            *object = static_cast<IAgileObject*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperation<TResult>* /*operation*/,
                                     AsyncStatus status) override {
        signal_.Signal(status);
        return S_OK;
    }

    [[nodiscard]] const CompletionSignal& Signal() const noexcept { return signal_; }

  private:
    ~CompletionHandler() = default;

    LONG references_ = 1;
    CompletionSignal signal_;
};

// Blocks until `operation` completes (without polling) and hands out its result, an owned
// reference for an interface; an operation that ends in error or is cancelled throws
// RuntimeCallError. One still running at `deadline` is cancelled and left to the platform, which
// holds its own references to it and to the handler: OperationTimedOut is thrown at once, since
// an operation may ignore the cancellation for ever.
template <typename TResult>
auto Await(IAsyncOperation<TResult>* operation, std::chrono::steady_clock::time_point deadline) {
    auto handler = Ref<CompletionHandler<TResult>>::Adopt(new CompletionHandler<TResult>());
    Check(operation->put_Completed(handler.Get()));
    if (!handler->Signal().WaitUntil(deadline)) {
        CancelOperation(operation);
        throw OperationTimedOut{};
    }
    if (handler->Signal().Status() != AsyncStatus::Completed) {
        HRESULT error = E_FAIL;
        if (Ref<IAsyncInfo> info; SUCCEEDED(
                operation->QueryInterface(kIidAsyncInfo, reinterpret_cast<void**>(info.Put())))) {
            (void)info->get_ErrorCode(&error);
        }
        throw RuntimeCallError{FAILED(error) ? error : E_FAIL};
    }
    if constexpr (std::is_pointer_v<TResult>) {
        Ref<std::remove_pointer_t<TResult>> result;
        Check(operation->GetResults(result.Put()));
        return result;
    } else {
        TResult result{};
        Check(operation->GetResults(&result));
        return result;
    }
}

}  // namespace glyphsnap::winrt
