#include "brambolt/framework/hyperlink_rules.h"

#include <algorithm>

namespace brambolt {

namespace {
char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
}  // namespace

std::u16string LinkAddress(std::u16string_view urlPrefix, std::u16string_view target) {
    const bool hasPrefix =
        target.size() >= urlPrefix.size() &&
        std::equal(urlPrefix.begin(), urlPrefix.end(), target.begin(),
                   [](char16_t a, char16_t b) { return FoldAscii(a) == FoldAscii(b); });
    std::u16string address;
    if (!hasPrefix) {
        address.append(urlPrefix);
    }
    address.append(target);
    return address;
}

std::u16string LinkMarkup(std::u16string_view text, std::u16string_view address) {
    std::u16string markup = u"<a href=\"";
    for (char16_t c : address) {
        if (c == u'"') {
            markup.append(u"%22");
        } else {
            markup.push_back(c);
        }
    }
    markup.append(u"\">");
    markup.append(text);
    markup.append(u"</a>");
    return markup;
}

}  // namespace brambolt
