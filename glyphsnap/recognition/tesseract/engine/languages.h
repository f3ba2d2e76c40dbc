// The recognizer's languages, taken from the user's profile: the locale variables of the process.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace glyphsnap {

// Reads one environment variable; null when it is not set.
using EnvironmentReader = std::function<const char*(const char*)>;

// The profile's locale names in order of preference, as message catalogues choose them: the
// colon-separated entries of LANGUAGE, then the message locale (LC_ALL, else LC_MESSAGES, else
// LANG). LANGUAGE counts only when the message locale is set and is not "C" or "POSIX".
std::vector<std::string> ProfileLanguages(const EnvironmentReader& environment);

// The Tesseract language list ("chi_sim+eng") for locale names such as "zh_CN.UTF-8", in their
// order, keeping only installed languages. Chinese brings English along; English is the last
// resort. Empty when not even English is installed.
std::string TesseractLanguagesFor(const std::vector<std::string>& localeNames,
                                  const std::function<bool(std::string_view)>& isInstalled);

}  // namespace glyphsnap
