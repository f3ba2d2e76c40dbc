// The owner of a string that a COM interface hands out and the caller frees with CoTaskMemFree
// (the web view's addresses and version texts).
#pragma once

#include <windows.h>
#include <objbase.h>

#include "brambolt/base/unique_handle.h"

namespace brambolt {

namespace handle_traits {
struct CoTaskString {
    using Handle = LPWSTR;
    static Handle Empty() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CoTaskMemFree(h); }
};
}  // namespace handle_traits

using UniqueCoTaskString = UniqueResource<handle_traits::CoTaskString>;

}  // namespace brambolt
