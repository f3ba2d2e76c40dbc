#include "glyphsnap/recognition/tesseract/engine/languages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace glyphsnap {
namespace {

struct LanguageCode {
    std::string_view locale;     // ISO 639 code of a locale name
    std::string_view tesseract;  // Tesseract's name for its trained data
};

constexpr std::array<LanguageCode, 34> kLanguageCodes{{
    {"ar", "ara"}, {"bg", "bul"}, {"cs", "ces"}, {"da", "dan"}, {"de", "deu"}, {"el", "ell"},
    {"en", "eng"}, {"es", "spa"}, {"fi", "fin"}, {"fr", "fra"}, {"he", "heb"}, {"hi", "hin"},
    {"hr", "hrv"}, {"hu", "hun"}, {"id", "ind"}, {"it", "ita"}, {"ja", "jpn"}, {"ko", "kor"},
    {"lt", "lit"}, {"nb", "nor"}, {"nl", "nld"}, {"nn", "nor"}, {"no", "nor"}, {"pl", "pol"},
    {"pt", "por"}, {"ro", "ron"}, {"ru", "rus"}, {"sk", "slk"}, {"sl", "slv"}, {"sr", "srp"},
    {"sv", "swe"}, {"th", "tha"}, {"tr", "tur"}, {"uk", "ukr"},
}};

bool IsNeutralLocale(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

std::string MessageLocale(const EnvironmentReader& environment) {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = environment(variable);
        if (value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return {};
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return lowered;
}

// "zh_TW.UTF-8@mod" gives language "zh" and region "tw"; a script such as "zh-Hant" counts as
// the region part.
std::pair<std::string, std::string> LanguageAndRegion(std::string_view localeName) {
    localeName = localeName.substr(0, localeName.find_first_of(".@"));
    const auto separator = localeName.find_first_of("_-");
    if (separator == std::string_view::npos) {
        return {Lowered(localeName), {}};
    }
    return {Lowered(localeName.substr(0, separator)), Lowered(localeName.substr(separator + 1))};
}

std::vector<std::string_view> TesseractCandidates(std::string_view localeName) {
    const auto [language, region] = LanguageAndRegion(localeName);
    if (language == "zh") {
        const bool traditional =
            region == "tw" || region == "hk" || region == "mo" || region.starts_with("hant");
        if (traditional) {
            return {"chi_tra", "chi_sim", "eng"};
        }
        return {"chi_sim", "eng"};
    }
    for (const LanguageCode& code : kLanguageCodes) {
        if (code.locale == language) {
            return {code.tesseract};
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> ProfileLanguages(const EnvironmentReader& environment) {
    const std::string messageLocale = MessageLocale(environment);
    std::vector<std::string> names;
    if (IsNeutralLocale(messageLocale)) {
        return names;
    }
    if (const char* priorities = environment("LANGUAGE"); priorities != nullptr) {
        std::string_view rest(priorities);
        while (!rest.empty()) {
            const auto colon = rest.find(':');
            if (const auto entry = rest.substr(0, colon); !entry.empty()) {
                names.emplace_back(entry);
            }
            rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        }
    }
    names.push_back(messageLocale);
    return names;
}

std::string TesseractLanguagesFor(const std::vector<std::string>& localeNames,
                                  const std::function<bool(std::string_view)>& isInstalled) {
    std::vector<std::string_view> chosen;
    const auto choose = [&](std::string_view language) {
        if (std::find(chosen.begin(), chosen.end(), language) == chosen.end() &&
            isInstalled(language)) {
            chosen.push_back(language);
        }
    };
    for (const std::string& name : localeNames) {
        const std::vector<std::string_view> candidates = TesseractCandidates(name);
        // Traditional Chinese falls back to Simplified only when it is not installed.
        const bool traditionalInstalled =
            !candidates.empty() && candidates.front() == "chi_tra" && isInstalled("chi_tra");
        for (const std::string_view candidate : candidates) {
            if (candidate == "chi_sim" && traditionalInstalled) {
                continue;
            }
            choose(candidate);
        }
    }
    if (chosen.empty()) {
        choose("eng");
    }
    std::string list;
    for (const std::string_view language : chosen) {
        if (!list.empty()) {
            list += '+';
        }
        list += language;
    }
    return list;
}

}  // namespace glyphsnap
