#include "brambolt/web/vendor_server.h"

namespace brambolt {

#define BRAMBOLT_UTF16_(text) u##text
#define BRAMBOLT_UTF16(text) BRAMBOLT_UTF16_(text)

std::u16string_view VendorServerHost() noexcept {
    return BRAMBOLT_UTF16(BRAMBOLT_VENDOR_HOST);
}

#undef BRAMBOLT_UTF16
#undef BRAMBOLT_UTF16_

}  // namespace brambolt
