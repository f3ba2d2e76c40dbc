// Glyphsnap's native-messaging host manifests for Windows browsers, by the same rules as the Linux
// registration (tools/native_host.py): one host name, Chromium-family origins into
// "allowed_origins", Firefox extension IDs into "allowed_extensions".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup_helper {

inline constexpr std::string_view kDefaultHostName = "vorlin.glyphsnap";

// Lower-case letters, digits and _ in parts joined by single dots (Chromium's rule).
[[nodiscard]] bool IsValidHostName(std::string_view name);

struct AllowedExtensions {
    std::vector<std::string> chromiumOrigins;  // chrome-extension://<32 letters a-p>/
    std::vector<std::string> firefoxIds;       // name@domain or {GUID}
};

struct SplitResult {
    AllowedExtensions allowed;
    std::optional<std::string> error;  // set for the first value that is neither
};

// Splits a comma-separated list of origins and IDs; empty items are skipped and repeats dropped,
// keeping the first occurrence's place.
[[nodiscard]] SplitResult SplitAllowed(std::string_view commaSeparated);

// The manifest text (UTF-8 JSON, two-space indent, final newline) for a program path in UTF-8.
// field is "allowed_origins" or "allowed_extensions".
[[nodiscard]] std::string ManifestText(std::string_view name, std::string_view programPath,
                                       std::string_view field,
                                       const std::vector<std::string>& allowed);

}  // namespace setup_helper
