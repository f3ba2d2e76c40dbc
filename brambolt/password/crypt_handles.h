// Owners for the CryptoAPI provider context and hash object.
#pragma once

#include <windows.h>

#include <wincrypt.h>

#include "brambolt/base/unique_handle.h"

namespace brambolt {
namespace handle_traits {

struct CryptProvider {
    using Handle = HCRYPTPROV;
    static Handle Empty() noexcept { return 0; }
    static void Close(Handle h) noexcept { ::CryptReleaseContext(h, 0); }
};
struct CryptHash {
    using Handle = HCRYPTHASH;
    static Handle Empty() noexcept { return 0; }
    static void Close(Handle h) noexcept { ::CryptDestroyHash(h); }
};

}  // namespace handle_traits

using UniqueCryptProvider = UniqueResource<handle_traits::CryptProvider>;
using UniqueCryptHash = UniqueResource<handle_traits::CryptHash>;

}  // namespace brambolt
