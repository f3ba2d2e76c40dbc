// Plumbing of the stand-in Windows Runtime: reference-counted objects over a list of interfaces,
// asynchronous operations that complete on a pool thread, read-only vectors, and the call log.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/winrt/abi.h"
#include "glyphsnap/recognition/winrt/runtime.h"

namespace glyphsnap::standin {

using namespace glyphsnap::winrt;

// One line in the file named by GLYPHSNAP_STANDIN_LOG, when it is set.
void Log(const std::string& line);

// inspectable.h's identifier, which no mingw-w64 library defines.
inline constexpr GUID kIidInspectable{
    0xaf86e2e0, 0xb12d, 0x4c6a, {0x9c, 0x5a, 0xd7, 0xaa, 0x65, 0x10, 0x1e, 0x90}};

template <typename Interface>
inline constexpr GUID kIidOf = Interface::kIid;
template <>
inline constexpr GUID kIidOf<IAsyncInfo> = kIidAsyncInfo;
template <>
inline constexpr GUID kIidOf<IActivationFactory> = {
    0x00000035, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// An object implementing `Interfaces`, the first of them an IInspectable.
template <typename First, typename... Rest>
class Object : public First, public Rest... {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, kIidInspectable) ||
            IsEqualGUID(iid, IID_IAgileObject)) {
            *object = static_cast<First*>(this);
        } else if (IsEqualGUID(iid, kIidOf<First>)) {
            *object = static_cast<First*>(this);
        } else {
            (void)((IsEqualGUID(iid, kIidOf<Rest>) ? (*object = static_cast<Rest*>(this), true)
                                                   : false) ||
                   ...);
        }
        if (*object == nullptr) {
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
    HRESULT STDMETHODCALLTYPE GetIids(ULONG* count, IID** iids) override {
        *count = 0;
        *iids = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* name) override {
        *name = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) override {
        *level = BaseTrust;
        return S_OK;
    }

  protected:
    Object() = default;
    virtual ~Object() = default;

  private:
    LONG references_ = 1;
};

// Creates an object, its first reference owned by the caller through `Interface`.
template <typename Interface, typename T, typename... Arguments>
Ref<Interface> Make(Arguments&&... arguments) {
    return Ref<Interface>::Adopt(
        static_cast<Interface*>(new T(std::forward<Arguments>(arguments)...)));
}

// A second reference to an object already referenced.
template <typename Interface>
Ref<Interface> Share(Interface* object) {
    object->AddRef();
    return Ref<Interface>::Adopt(object);
}

// Hands out a new reference through an out parameter.
template <typename Interface, typename T>
HRESULT Hand(const Ref<T>& object, Interface** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = object.Get();
    if (*out != nullptr) {
        (*out)->AddRef();
    }
    return S_OK;
}

// An operation whose outcome is known when it is made and which completes on a pool thread, as
// the platform's do: a handler set before completion is called from that thread, one set after
// it at once. A held operation never completes, not even when cancelled: the worst a caller can
// meet.
template <typename TResult>
class Operation final : public Object<IAsyncOperation<TResult>, IAsyncInfo> {
    using Handler = IAsyncOperationCompletedHandler<TResult>;
    using Stored = std::conditional_t<std::is_pointer_v<TResult>,
                                      Ref<std::remove_pointer_t<TResult>>, TResult>;

  public:
    static Ref<IAsyncOperation<TResult>> Succeeded(Stored result) {
        auto operation = Ref<Operation>::Adopt(new Operation(std::move(result), S_OK));
        return operation->Start();
    }
    static Ref<IAsyncOperation<TResult>> Failed(HRESULT error) {
        auto operation = Ref<Operation>::Adopt(new Operation(Stored{}, error));
        return operation->Start();
    }
    static Ref<IAsyncOperation<TResult>> Held() {
        return Ref<IAsyncOperation<TResult>>::Adopt(new Operation(Stored{}, S_OK));
    }

    HRESULT STDMETHODCALLTYPE put_Completed(Handler* handler) override {
        if (handler == nullptr) {
            return E_POINTER;
        }
        std::unique_lock lock(mutex_);
        if (handler_) {
            return E_UNEXPECTED;  // one handler per operation
        }
        handler->AddRef();
        handler_.Reset(handler);
        if (status_ == AsyncStatus::Started) {
            return S_OK;
        }
        lock.unlock();
        (void)handler->Invoke(this, status_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Completed(Handler** handler) override {
        std::lock_guard lock(mutex_);
        return Hand(handler_, handler);
    }
    HRESULT STDMETHODCALLTYPE GetResults(TResult* results) override {
        std::lock_guard lock(mutex_);
        if (status_ == AsyncStatus::Started) {
            return E_UNEXPECTED;  // not completed yet
        }
        if (FAILED(error_)) {
            return error_;
        }
        if constexpr (std::is_pointer_v<TResult>) {
            return Hand(result_, results);
        } else {
            *results = result_;
            return S_OK;
        }
    }

    HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) override {
        *id = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) override {
        std::lock_guard lock(mutex_);
        *status = status_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* error) override {
        std::lock_guard lock(mutex_);
        *error = status_ == AsyncStatus::Error ? error_ : S_OK;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Cancel() override {
        Log("Operation.Cancel");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }

  private:
    Operation(Stored result, HRESULT error) : result_(std::move(result)), error_(error) {}

    Ref<IAsyncOperation<TResult>> Start() {
        this->AddRef();  // the pool thread's reference
        if (!TrySubmitThreadpoolCallback(&Operation::Complete, this, nullptr)) {
            Complete(nullptr, this);
        }
        this->AddRef();
        return Ref<IAsyncOperation<TResult>>::Adopt(this);
    }

    static void CALLBACK Complete(PTP_CALLBACK_INSTANCE /*instance*/, void* context) {
        auto operation = Ref<Operation>::Adopt(static_cast<Operation*>(context));
        Ref<Handler> handler;
        AsyncStatus status = AsyncStatus::Completed;
        {
            std::lock_guard lock(operation->mutex_);
            operation->status_ =
                FAILED(operation->error_) ? AsyncStatus::Error : AsyncStatus::Completed;
            status = operation->status_;
            (void)Hand(operation->handler_, handler.Put());
        }
        if (handler) {
            (void)handler->Invoke(operation.Get(), status);
        }
    }

    std::mutex mutex_;
    Stored result_;
    HRESULT error_;
    AsyncStatus status_ = AsyncStatus::Started;
    Ref<Handler> handler_;
};

// A read-only vector of objects.
template <typename Interface>
class VectorView final : public Object<IVectorView<Interface*>> {
  public:
    explicit VectorView(std::vector<Ref<Interface>> items) : items_(std::move(items)) {}

    HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, Interface** item) override {
        if (index >= items_.size()) {
            return E_INVALIDARG;
        }
        return Hand(items_[index], item);
    }
    HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) override {
        *size = static_cast<UINT32>(items_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IndexOf(Interface* /*value*/, UINT32* /*index*/,
                                      boolean* /*found*/) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMany(UINT32 /*start*/, UINT32 /*capacity*/, Interface** /*items*/,
                                      UINT32* /*count*/) override {
        return E_NOTIMPL;
    }

  private:
    std::vector<Ref<Interface>> items_;
};

// The bytes behind the stand-in's buffers and streams, for its own classes only.
struct IStandInBytes : IUnknown {
    static constexpr GUID kIid{
        0x6f1c2b57, 0x0d3e, 0x4a8e, {0x9b, 0x51, 0x2c, 0x7e, 0x11, 0x64, 0xa0, 0x3d}};
    virtual std::vector<std::uint8_t>& Bytes() = 0;
    virtual std::size_t Position() = 0;
};

// The activation factories of the stand-in's classes.
Ref<IActivationFactory> MakeCryptographicBufferFactory();
Ref<IActivationFactory> MakeInMemoryStreamFactory();
Ref<IActivationFactory> MakeDataWriterFactory();
Ref<IActivationFactory> MakeBitmapDecoderFactory();
Ref<IActivationFactory> MakeBitmapTransformFactory();
Ref<IActivationFactory> MakeOcrEngineFactory();

}  // namespace glyphsnap::standin
