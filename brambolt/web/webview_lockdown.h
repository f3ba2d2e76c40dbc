// What both web views switch off before their first navigation, so that the person at the
// keyboard cannot make a view go where its page did not: the page itself stays trusted.
#pragma once

#include "brambolt/web/webview2_abi.h"

namespace brambolt {

// Developer tools, the default context menu and the status bar off; the browser's accelerator
// keys (ICoreWebView2Settings3) and drops from outside the view (ICoreWebView2Controller4) off
// where the runtime has them; every new window the page asks for refused, none opened. False when
// the view's settings cannot be had or refuse one of the first three: the view must not be shown.
bool LockDownWebView(webview2::ICoreWebView2Controller& controller, webview2::ICoreWebView2& view);

}  // namespace brambolt
