// Engines started for one profile, as a request would start them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "glyphsnap/recognition/tesseract/engine/engine_cache.h"

namespace glyphsnap::test {

// The engines of the profile `lang` names (a value of LANG); none when the main one does not start.
inline std::optional<EngineSet> StartedEngines(const std::string& lang) {
    const auto environment = [&](const char* name) -> const char* {
        return std::string_view(name) == "LANG" ? lang.c_str() : nullptr;
    };
    EngineSettings settings = SettingsFor(environment);
    auto main = StartEngine(settings);
    if (main == nullptr) {
        return std::nullopt;
    }
    return EngineSet(std::move(settings), std::move(main));
}

}  // namespace glyphsnap::test
