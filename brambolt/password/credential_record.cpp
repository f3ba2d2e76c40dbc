#include "brambolt/password/credential_record.h"

#include <algorithm>

namespace brambolt {

std::u16string_view FieldText(const char16_t (&field)[kCredentialTextUnits]) noexcept {
    const char16_t* const end = std::find(field, field + kCredentialTextUnits, u'\0');
    return {field, static_cast<std::size_t>(end - field)};
}

bool SetFieldText(char16_t (&field)[kCredentialTextUnits], std::u16string_view text) noexcept {
    const std::size_t kept = std::min(text.size(), kCredentialTextUnits - 1);
    std::fill(std::copy_n(text.begin(), kept, field), field + kCredentialTextUnits, u'\0');
    return kept == text.size();
}

bool HasPassword(const CredentialRecord& record, bool loaded) noexcept {
    return loaded && FieldText(record.passwordHash).size() >= 2;
}

}  // namespace brambolt
