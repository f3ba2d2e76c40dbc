// The notice panel's pages and its offline fallback rule. Plain UTF-16 text rules that build for
// every platform.
#pragma once

#include <string>
#include <string_view>

namespace brambolt {

// The vendor's notice page: https on the vendor's server, path "/keldanew.html", no query.
[[nodiscard]] std::u16string NoticePageAddress(std::u16string_view host);

// The local page shown when the notice page cannot be loaded; its only visible sentence points
// to the usage notes above the panel.
[[nodiscard]] std::u16string_view OfflineFallbackPage() noexcept;

// Decides, for one completed navigation of the panel, whether the fallback page is to be shown
// now, and updates the flag. The completion that follows the fallback's own navigation clears the
// flag without showing anything, so a failing fallback is never shown again and again, and the
// next failure after it shows the fallback once more.
[[nodiscard]] bool ShouldShowOfflineFallback(bool navigationSucceeded, std::u16string_view source,
                                             bool& offlineFallbackShown) noexcept;

}  // namespace brambolt
