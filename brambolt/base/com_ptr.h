// One owner for a COM interface reference: released when the owner goes, moved, never copied.
#pragma once

#include <unknwn.h>

#include <utility>

namespace brambolt {

template <typename Interface>
class ComPtr {
  public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.pointer_, nullptr));
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    [[nodiscard]] Interface* get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // For calls that hand out a reference through an out parameter.
    Interface** put() noexcept {
        reset();
        return &pointer_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    // Takes over a reference the caller already owns.
    void reset(Interface* pointer = nullptr) noexcept {
        Interface* old = std::exchange(pointer_, pointer);
        if (old != nullptr) {
            old->Release();
        }
    }

  private:
    Interface* pointer_ = nullptr;
};

}  // namespace brambolt
