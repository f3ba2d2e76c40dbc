// The filter instance's altitude and name, formed from the user's SID string so that every user's
// driver instance sits at its own altitude under its own name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brambolt {

struct FilterInstanceNaming {
    std::u16string altitude;      // "80580." + SID tail, or "80580.5" without a SID
    std::u16string instanceName;  // "Brambolt Instance" + SID tail, or + "_NOSID"
};

// The SID tail: the last four characters of the SID string (all of it when shorter), cut at their
// first '-'. For "...-500" the tail is empty, by design of the registration that earlier
// installations wrote.
[[nodiscard]] std::u16string_view SidTail(std::u16string_view sid) noexcept;

// sid is empty when the SID could not be read.
[[nodiscard]] FilterInstanceNaming NameFilterInstance(const std::optional<std::u16string>& sid);

}  // namespace brambolt
