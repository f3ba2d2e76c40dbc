#include "brambolt/testbench/webview2_stand_in/page_script.h"

namespace brambolt::testbench {

namespace {

std::vector<std::wstring_view> Words(std::wstring_view line) {
    std::vector<std::wstring_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) {
            ++at;
        }
        const std::size_t start = at;
        while (at < line.size() && line[at] != L' ' && line[at] != L'\t') {
            ++at;
        }
        if (at > start) {
            words.push_back(line.substr(start, at - start));
        }
    }
    return words;
}

}  // namespace

bool PageScript::Has(PageRule::Kind kind) const {
    for (const PageRule& rule : rules) {
        if (rule.kind == kind) {
            return true;
        }
    }
    return false;
}

const PageRule* PageScript::NavigationRule(std::wstring_view address) const {
    for (const PageRule& rule : rules) {
        const bool navigation =
            rule.kind == PageRule::Kind::Fail || rule.kind == PageRule::Kind::Redirect;
        if (navigation && address.substr(0, rule.prefix.size()) == rule.prefix) {
            return &rule;
        }
    }
    return nullptr;
}

const PageRule* PageScript::NewWindowRule(std::wstring_view address) const {
    for (const PageRule& rule : rules) {
        if (rule.kind == PageRule::Kind::NewWindow &&
            address.substr(0, rule.prefix.size()) == rule.prefix) {
            return &rule;
        }
    }
    return nullptr;
}

PageScript ParsePageScript(std::wstring_view text) {
    if (!text.empty() && text.front() == L'\xFEFF') {
        text.remove_prefix(1);  // a byte-order mark
    }
    PageScript script;
    while (!text.empty()) {
        const std::size_t end = text.find(L'\n');
        std::wstring_view line = text.substr(0, end);
        text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == L'\r') {
            line.remove_suffix(1);
        }
        const std::vector<std::wstring_view> words = Words(line);
        if (words.empty()) {
            continue;
        }
        const std::wstring_view keyword = words[0];
        if (keyword == L"fail" && words.size() == 2) {
            script.rules.push_back({PageRule::Kind::Fail, std::wstring(words[1]), {}});
        } else if (keyword == L"redirect" && words.size() == 3) {
            script.rules.push_back(
                {PageRule::Kind::Redirect, std::wstring(words[1]), std::wstring(words[2])});
        } else if (keyword == L"newwindow" && words.size() == 3) {
            script.rules.push_back(
                {PageRule::Kind::NewWindow, std::wstring(words[1]), std::wstring(words[2])});
        } else if (keyword == L"nowebview" && words.size() == 1) {
            script.rules.push_back({PageRule::Kind::NoWebView, {}, {}});
        } else if (keyword == L"nocontroller" && words.size() == 1) {
            script.rules.push_back({PageRule::Kind::NoController, {}, {}});
        }
    }
    return script;
}

}  // namespace brambolt::testbench
