// The vendor's web site, fixed at build time (BRAMBOLT_VENDOR_SITE): the download page that a
// damaged installation opens, and the host of the main window's update link.
#pragma once

namespace brambolt {

#define BRAMBOLT_WIDEN_(text) L##text
#define BRAMBOLT_WIDEN(text) BRAMBOLT_WIDEN_(text)

// "https://" + host + "/".
inline constexpr wchar_t kVendorSite[] = BRAMBOLT_WIDEN(BRAMBOLT_VENDOR_SITE);
// The same host without scheme, for the update link's target.
inline constexpr wchar_t kVendorHost[] = BRAMBOLT_WIDEN(BRAMBOLT_VENDOR_HOST);

#undef BRAMBOLT_WIDEN
#undef BRAMBOLT_WIDEN_

}  // namespace brambolt
