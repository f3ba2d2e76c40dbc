// The host of the vendor's web server (BRAMBOLT_VENDOR_SITE at build time), which serves the
// notice page and the WeChat login page.
#pragma once

#include <string_view>

namespace brambolt {

[[nodiscard]] std::u16string_view VendorServerHost() noexcept;

}  // namespace brambolt
