#include "host_manifest.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <regex>

namespace setup_helper {
namespace {

constexpr std::string_view kDescription =
    "Glyphsnap: recognises the text of an image, or opens the image in a paint program";

bool FullMatch(std::string_view text, const std::regex& pattern) {
    return std::regex_match(text.begin(), text.end(), pattern);
}

void AppendOnce(std::vector<std::string>& values, std::string value) {
    if (std::find(values.begin(), values.end(), value) == values.end()) {
        values.push_back(std::move(value));
    }
}

}  // namespace

bool IsValidHostName(std::string_view name) {
    static const std::regex pattern("[a-z0-9_]+(\\.[a-z0-9_]+)*");
    return FullMatch(name, pattern);
}

SplitResult SplitAllowed(std::string_view commaSeparated) {
    static const std::regex chromiumOrigin("chrome-extension://[a-p]{32}/");
    static const std::regex firefoxId(
        "[A-Za-z0-9._-]*@[A-Za-z0-9._-]+|\\{[0-9A-Fa-f]{8}(-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}\\}");
    SplitResult result;
    std::size_t start = 0;
    while (start <= commaSeparated.size()) {
        const std::size_t comma = std::min(commaSeparated.find(',', start), commaSeparated.size());
        const std::string value(commaSeparated.substr(start, comma - start));
        start = comma + 1;
        if (value.empty()) {
            continue;
        }
        if (FullMatch(value, chromiumOrigin)) {
            AppendOnce(result.allowed.chromiumOrigins, value);
        } else if (FullMatch(value, firefoxId)) {
            AppendOnce(result.allowed.firefoxIds, value);
        } else if (!result.error) {
            result.error = value.starts_with("chrome-extension://")
                               ? "bad extension origin " + value +
                                     ": Chrome, Edge and Chromium want chrome-extension://<the 32 "
                                     "letters a-p of the extension's ID>/ with the final slash"
                               : "bad extension " + value +
                                     ": give a chrome-extension://<32 letters a-p>/ origin or a "
                                     "Firefox extension ID (name@domain or {GUID})";
        }
    }
    return result;
}

std::string ManifestText(std::string_view name, std::string_view programPath,
                         std::string_view field, const std::vector<std::string>& allowed) {
    nlohmann::ordered_json manifest;
    manifest["name"] = name;
    manifest["description"] = kDescription;
    manifest["path"] = programPath;
    manifest["type"] = "stdio";
    manifest[std::string(field)] = allowed;
    return manifest.dump(2) + "\n";
}

}  // namespace setup_helper
