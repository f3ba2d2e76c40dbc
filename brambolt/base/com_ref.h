// One counted reference to a COM object: AddRef when copied in, Release when reset or destroyed.
#pragma once

#include <unknwn.h>

#include <utility>

namespace brambolt {

template <typename Interface>
class ComRef {
  public:
    ComRef() noexcept = default;
    // Takes a new reference of its own.
    explicit ComRef(Interface* object) noexcept : object_(object) {
        if (object_ != nullptr) {
            object_->AddRef();
        }
    }
    ComRef(const ComRef& other) noexcept : ComRef(other.object_) {}
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~ComRef() { reset(); }

    // Adopts a reference the caller already holds (a new object, or an out parameter's result).
    static ComRef Adopt(Interface* object) noexcept {
        ComRef adopted;
        adopted.object_ = object;
        return adopted;
    }

    [[nodiscard]] Interface* get() const noexcept { return object_; }
    Interface* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    // For calls that hand out a reference through an out parameter.
    Interface** put() noexcept {
        reset();
        return &object_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (Interface* old = std::exchange(object_, nullptr)) {
            old->Release();
        }
    }

  private:
    Interface* object_ = nullptr;
};

}  // namespace brambolt
