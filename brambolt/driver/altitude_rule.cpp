#include "brambolt/driver/altitude_rule.h"

namespace brambolt {
namespace {

constexpr std::u16string_view kAltitudeBase = u"80580";
constexpr std::u16string_view kInstanceBase = u"Brambolt Instance";
constexpr std::size_t kTailLength = 4;

}  // namespace

std::u16string_view SidTail(std::u16string_view sid) noexcept {
    std::u16string_view tail =
        sid.size() <= kTailLength ? sid : sid.substr(sid.size() - kTailLength);
    const std::size_t dash = tail.find(u'-');
    if (dash != std::u16string_view::npos) {
        tail = tail.substr(0, dash);
    }
    return tail;
}

FilterInstanceNaming NameFilterInstance(const std::optional<std::u16string>& sid) {
    FilterInstanceNaming naming;
    naming.altitude = kAltitudeBase;
    naming.altitude += u'.';
    naming.instanceName = kInstanceBase;
    if (sid) {
        const std::u16string_view tail = SidTail(*sid);
        naming.altitude += tail;
        naming.instanceName += tail;
    } else {
        naming.altitude += u'5';
        naming.instanceName += u"_NOSID";
    }
    return naming;
}

}  // namespace brambolt
