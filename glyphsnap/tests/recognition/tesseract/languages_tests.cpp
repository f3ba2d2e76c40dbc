#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "glyphsnap/recognition/tesseract/engine/languages.h"

namespace glyphsnap {
namespace {

struct LanguageCase {
    const char* name;
    std::map<std::string, std::string> environment;
    std::set<std::string, std::less<>> installed;
    std::string expected;
};

class TesseractLanguagesTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(TesseractLanguagesTest, FollowProfileAndInstalledData) {
    const LanguageCase& c = GetParam();
    const auto environment = [&](const char* name) -> const char* {
        const auto found = c.environment.find(name);
        return found == c.environment.end() ? nullptr : found->second.c_str();
    };
    const auto installed = [&](std::string_view language) {
        return c.installed.find(language) != c.installed.end();
    };
    EXPECT_EQ(TesseractLanguagesFor(ProfileLanguages(environment), installed), c.expected);
}

const std::set<std::string, std::less<>> kDebianDefault{"eng", "chi_sim", "osd"};

INSTANTIATE_TEST_SUITE_P(
    Profiles, TesseractLanguagesTest,
    ::testing::Values(
        LanguageCase{"ChineseLocale", {{"LANG", "zh_CN.UTF-8"}}, kDebianDefault, "chi_sim+eng"},
        LanguageCase{"BareChinese", {{"LANG", "zh"}}, kDebianDefault, "chi_sim+eng"},
        LanguageCase{"EnglishLocale", {{"LANG", "en_GB.UTF-8"}}, kDebianDefault, "eng"},
        LanguageCase{"NothingSet", {}, kDebianDefault, "eng"},
        LanguageCase{"NeutralLocale", {{"LANG", "C.UTF-8"}}, kDebianDefault, "eng"},
        LanguageCase{
            "NotInstalledFallsBackToEnglish", {{"LANG", "de_DE.UTF-8"}}, kDebianDefault, "eng"},
        LanguageCase{"InstalledGerman", {{"LANG", "de_DE.UTF-8"}}, {"eng", "deu"}, "deu"},
        LanguageCase{"AllOverridesLang",
                     {{"LC_ALL", "zh_SG.UTF-8"}, {"LANG", "en_US.UTF-8"}},
                     kDebianDefault,
                     "chi_sim+eng"},
        LanguageCase{"MessagesOverrideLang",
                     {{"LC_MESSAGES", "zh_CN.UTF-8"}, {"LANG", "en_US.UTF-8"}},
                     kDebianDefault,
                     "chi_sim+eng"},
        LanguageCase{"LanguageListInOrder",
                     {{"LANGUAGE", "fr:zh_CN::de"}, {"LANG", "en_US.UTF-8"}},
                     {"eng", "chi_sim", "fra", "deu"},
                     "fra+chi_sim+eng+deu"},
        LanguageCase{"LanguageListIgnoredInCLocale",
                     {{"LANGUAGE", "zh_CN"}, {"LANG", "C"}},
                     kDebianDefault,
                     "eng"},
        LanguageCase{"TraditionalWhenInstalled",
                     {{"LANG", "zh_TW.UTF-8"}},
                     {"eng", "chi_sim", "chi_tra"},
                     "chi_tra+eng"},
        LanguageCase{"TraditionalFallsBackToSimplified",
                     {{"LANG", "zh_HK.UTF-8"}},
                     kDebianDefault,
                     "chi_sim+eng"},
        LanguageCase{"ScriptSubtag", {{"LANG", "zh-Hant"}}, {"eng", "chi_tra"}, "chi_tra+eng"},
        LanguageCase{"ModifierIgnored", {{"LANG", "sr_RS@latin"}}, {"eng", "srp"}, "srp"},
        LanguageCase{"NothingInstalled", {{"LANG", "zh_CN.UTF-8"}}, {}, ""}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace glyphsnap
