// The stand-in runtime's script, "webview-script.txt" beside the DLL: UTF-8, one rule per line,
// the first rule that matches wins.
//   fail <prefix>                a navigation whose address starts with the prefix fails
//   redirect <prefix> <address>  once such a navigation starts, the page navigates to the address
//   nowebview                    the version query finds no runtime
//   nocontroller                 the controller's completion reports E_FAIL
//   newwindow <prefix> <address> once such a navigation has completed, the page asks for a new
//                                window showing the address (as window.open does)
// Every other navigation completes with success.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brambolt::testbench {

struct PageRule {
    enum class Kind { Fail, Redirect, NoWebView, NoController, NewWindow };
    Kind kind;
    std::wstring prefix;
    std::wstring target;
};

struct PageScript {
    std::vector<PageRule> rules;

    [[nodiscard]] bool Has(PageRule::Kind kind) const;
    // The first fail or redirect rule whose prefix starts the address, or null.
    [[nodiscard]] const PageRule* NavigationRule(std::wstring_view address) const;
    // The first newwindow rule whose prefix starts the address, or null.
    [[nodiscard]] const PageRule* NewWindowRule(std::wstring_view address) const;
};

PageScript ParsePageScript(std::wstring_view text);

}  // namespace brambolt::testbench
