#include "brambolt/web/verification_outcome.h"

namespace brambolt {

namespace {

constexpr std::u16string_view kOutcomeScheme = u"success://";
constexpr std::u16string_view kIdentityKey = u"openid=";
constexpr std::u16string_view kUnauthorized = u"status=unauthorized";

}  // namespace

bool IsVerificationOutcome(std::u16string_view address) noexcept {
    return address.substr(0, kOutcomeScheme.size()) == kOutcomeScheme;
}

std::optional<std::u16string> ReportedIdentity(std::u16string_view address) {
    const std::size_t key = address.find(kIdentityKey);
    if (key == std::u16string_view::npos) {
        return std::nullopt;
    }
    std::u16string_view identity = address.substr(key + kIdentityKey.size());
    identity = identity.substr(0, identity.find(u'&'));
    while (!identity.empty() && identity.back() == u'/') {
        identity.remove_suffix(1);
    }
    return std::u16string(identity);
}

int VerificationCode(std::u16string_view address) noexcept {
    return address.find(kUnauthorized) != std::u16string_view::npos ? kVerificationRejected
                                                                    : kVerificationVerified;
}

std::u16string RecoveryAddress(std::u16string_view host, std::u16string_view boundIdentity) {
    std::u16string address = u"https://";
    address += host;
    address += u"/brambolt/wx_login_new.php?action=reset&expected_openid=";
    address += boundIdentity;
    return address;
}

}  // namespace brambolt
