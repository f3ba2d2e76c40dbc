#include "brambolt/framework/ole_session.h"

namespace brambolt {

namespace {

// Incoming calls are served at once; a busy callee is not waited for (the call fails), and a
// message arriving during an outgoing call is processed normally, so the windows stay alive.
class MessageFilter final : public IMessageFilter {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (::IsEqualIID(id, IID_IUnknown) || ::IsEqualIID(id, IID_IMessageFilter)) {
            *object = static_cast<IMessageFilter*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // A process-wide static: reference counting does not decide its lifetime.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }
};

MessageFilter g_messageFilter;

}  // namespace

bool OleSession::Start() {
    if (FAILED(::OleInitialize(nullptr))) {
        return false;
    }
    started_ = true;
    // A filter that cannot be registered leaves COM's default behaviour, which is harmless.
    ::CoRegisterMessageFilter(&g_messageFilter, &previousFilter_);
    return true;
}

void OleSession::Stop() noexcept {
    if (!started_) {
        return;
    }
    IMessageFilter* ours = nullptr;
    ::CoRegisterMessageFilter(previousFilter_, &ours);
    if (previousFilter_ != nullptr) {
        previousFilter_->Release();  // the reference CoRegisterMessageFilter handed out
        previousFilter_ = nullptr;
    }
    ::OleUninitialize();
    started_ = false;
}

}  // namespace brambolt
