#include "brambolt/web/evergreen_registration.h"

namespace brambolt {

namespace {

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

bool IsVersion(std::u16string_view text) {
    int parts = 0;
    std::size_t digits = 0;
    for (const char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            ++digits;
        } else if (c == u'.' && digits > 0) {
            ++parts;
            digits = 0;
        } else {
            return false;
        }
    }
    return digits > 0 && parts == 3;
}

}  // namespace

std::optional<EvergreenClient> EvergreenClientAt(std::u16string_view location) {
    while (!location.empty() && IsSeparator(location.back())) {
        location.remove_suffix(1);
    }
    std::size_t start = location.size();
    while (start > 0 && !IsSeparator(location[start - 1])) {
        --start;
    }
    const std::u16string_view version = location.substr(start);
    if (start == 0 || !IsVersion(version)) {
        return std::nullopt;
    }
    EvergreenClient client{std::u16string(version), std::u16string(location)};
    client.clientDll += u"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll";
    return client;
}

}  // namespace brambolt
