// Platform-free rules of the hyperlink control: the address it opens and the markup that makes
// the SysLink control show its text as one link.
#pragma once

#include <string>
#include <string_view>

namespace brambolt {

// The target with the URL prefix put in front, unless the target already begins with it
// (ASCII letter case ignored).
std::u16string LinkAddress(std::u16string_view urlPrefix, std::u16string_view target);

// "<a href="address">text</a>", the whole text one link; a quote inside the address is written
// as %22 so that it cannot end the attribute.
std::u16string LinkMarkup(std::u16string_view text, std::u16string_view address);

}  // namespace brambolt
