// One owner for every Win32 handle: a move-only holder per handle kind, each naming its empty value
// and the call that releases it. Handles passed around as plain values are borrowed.
#pragma once

#include <windows.h>

#include <utility>

namespace brambolt {

template <typename Traits>
class UniqueResource {
  public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueResource() { reset(); }

    [[nodiscard]] Handle get() const noexcept { return handle_; }
    [[nodiscard]] bool valid() const noexcept { return handle_ != Traits::Empty(); }
    explicit operator bool() const noexcept { return valid(); }

    // For calls that hand out a handle through an out parameter.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    Handle release() noexcept { return std::exchange(handle_, Traits::Empty()); }
    void reset(Handle handle = Traits::Empty()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::Empty()) {
            Traits::Close(old);
        }
    }

  private:
    Handle handle_ = Traits::Empty();
};

namespace handle_traits {

struct Kernel {  // process, thread, token, mutex, event: null when empty
    using Handle = HANDLE;
    static Handle Empty() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct File {  // CreateFileW answers INVALID_HANDLE_VALUE on failure
    using Handle = HANDLE;
    static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct FindHandle {  // FindFirstFileW answers INVALID_HANDLE_VALUE on failure
    using Handle = HANDLE;
    static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};
struct RegistryKey {
    using Handle = HKEY;
    static Handle Empty() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};
struct LocalMemory {
    using Handle = HLOCAL;
    static Handle Empty() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::LocalFree(h); }
};
struct Module {
    using Handle = HMODULE;
    static Handle Empty() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};
struct Window {
    using Handle = HWND;
    static Handle Empty() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};

}  // namespace handle_traits

using UniqueHandle = UniqueResource<handle_traits::Kernel>;
using UniqueFile = UniqueResource<handle_traits::File>;
using UniqueFindHandle = UniqueResource<handle_traits::FindHandle>;
using UniqueHkey = UniqueResource<handle_traits::RegistryKey>;
using UniqueHlocal = UniqueResource<handle_traits::LocalMemory>;
using UniqueHmodule = UniqueResource<handle_traits::Module>;
using UniqueHwnd = UniqueResource<handle_traits::Window>;

// A screen or window DC from GetDC, released to its window.
class ScopedWindowDc {
  public:
    explicit ScopedWindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    ~ScopedWindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

}  // namespace brambolt
