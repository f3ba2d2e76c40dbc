#include "brambolt/password/password_hash.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "brambolt/base/secure_wipe.h"
#include "brambolt/password/crypt_handles.h"

namespace brambolt {
namespace {

constexpr DWORD kSha256Bytes = 32;

// One byte per character, its code: the password must be printable ASCII.
bool IsPrintableAscii(std::wstring_view password) noexcept {
    return std::all_of(password.begin(), password.end(),
                       [](wchar_t unit) { return unit >= L' ' && unit <= L'~'; });
}

}  // namespace

std::wstring HashPassword(std::wstring_view password) {
    std::wstring hash;
    if (!IsPrintableAscii(password)) {
        return hash;
    }
    UniqueCryptProvider provider;
    if (::CryptAcquireContextW(provider.put(), nullptr, nullptr, PROV_RSA_AES,
                               CRYPT_VERIFYCONTEXT) == FALSE) {
        provider.release();  // a failed call hands out no provider: what it left is not released
        return hash;
    }
    UniqueCryptHash digest;
    if (::CryptCreateHash(provider.get(), CALG_SHA_256, 0, 0, digest.put()) == FALSE) {
        digest.release();  // a failed call hands out no hash object: what it left is not destroyed
        return hash;
    }
    std::vector<char> bytes(password.size());
    std::transform(password.begin(), password.end(), bytes.begin(),
                   [](wchar_t unit) { return static_cast<char>(unit); });
    const BOOL hashed = ::CryptHashData(digest.get(), reinterpret_cast<const BYTE*>(bytes.data()),
                                        static_cast<DWORD>(bytes.size()), 0);
    // The bytes are a copy of the password like any other.
    SecureWipe(bytes);
    if (hashed == FALSE) {
        return hash;
    }
    std::array<BYTE, kSha256Bytes> value{};
    DWORD size = kSha256Bytes;
    if (::CryptGetHashParam(digest.get(), HP_HASHVAL, value.data(), &size, 0) == FALSE) {
        return hash;
    }
    for (DWORD i = 0; i < size && i < kSha256Bytes; ++i) {
        std::array<wchar_t, 3> digits{};
        std::swprintf(digits.data(), digits.size(), L"%02X", static_cast<unsigned int>(value[i]));
        hash += digits.data();
    }
    return hash;
}

}  // namespace brambolt
