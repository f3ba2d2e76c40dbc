#include "brambolt/password/password_hash.h"

#include <array>
#include <cstdio>
#include <vector>

#include "brambolt/base/secure_wipe.h"
#include "brambolt/password/crypt_handles.h"

namespace brambolt {
namespace {

constexpr DWORD kSha256Bytes = 32;

// The password as the thread's ANSI code page spells it, without a terminating zero.
std::vector<char> ToThreadAnsi(std::wstring_view password) {
    if (password.empty()) {
        return {};
    }
    const int length = static_cast<int>(password.size());
    const int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, password.data(), length, nullptr, 0,
                                           nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::vector<char> bytes(static_cast<std::size_t>(size));
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, password.data(), length, bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

}  // namespace

std::wstring HashPassword(std::wstring_view password) {
    std::wstring hash;
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
    std::vector<char> bytes = ToThreadAnsi(password);
    const BOOL hashed = ::CryptHashData(digest.get(), reinterpret_cast<const BYTE*>(bytes.data()),
                                        static_cast<DWORD>(bytes.size()), 0);
    // The converted password is a copy of it like any other.
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
