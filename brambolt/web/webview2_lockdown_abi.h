// The WebView2 interfaces with which Brambolt locks its web views down (webview_lockdown.h): the
// view's settings, the controller's later versions up to the one that refuses outside drops, and
// the new-window request. Declared by us as webview2_abi.h declares the rest, every method in its
// slot, the ones Brambolt never calls answering E_NOTIMPL.
//
// Where the facts come from (public references):
// - The settings (ICoreWebView2Settings to ...Settings3), the controller's later versions (to
//   ...Controller4, put_AllowExternalDrop) and the new-window event's handler and arguments:
//   slot order and IIDs as in the win32metadata-generated C# interop of the SDK
//   (github.com/smourier/WebView2Aot, WebView2/Generated/WebView2/ICoreWebView2*.cs), matching
//   the member lists of the Win32 reference pages (icorewebview2settings, icorewebview2controller4:
//   "introduced in 1.0.1185.39", icorewebview2newwindowrequestedeventargs).
#pragma once

#include "brambolt/web/webview2_abi.h"

namespace brambolt::webview2 {

// {E562E4F0-D7FA-43AC-8D71-C05150499F00}
inline constexpr IID IID_ICoreWebView2Settings = {
    0xE562E4F0, 0xD7FA, 0x43AC, {0x8D, 0x71, 0xC0, 0x51, 0x50, 0x49, 0x9F, 0x00}};
// {EE9A0F68-F46C-4E32-AC23-EF8CAC224D2A}
inline constexpr IID IID_ICoreWebView2Settings2 = {
    0xEE9A0F68, 0xF46C, 0x4E32, {0xAC, 0x23, 0xEF, 0x8C, 0xAC, 0x22, 0x4D, 0x2A}};
// {FDB5AB74-AF33-4854-84F0-0A631DEB5EBA}
inline constexpr IID IID_ICoreWebView2Settings3 = {
    0xFDB5AB74, 0xAF33, 0x4854, {0x84, 0xF0, 0x0A, 0x63, 0x1D, 0xEB, 0x5E, 0xBA}};
// {C979903E-D4CA-4228-92EB-47EE3FA96EAB}
inline constexpr IID IID_ICoreWebView2Controller2 = {
    0xC979903E, 0xD4CA, 0x4228, {0x92, 0xEB, 0x47, 0xEE, 0x3F, 0xA9, 0x6E, 0xAB}};
// {F9614724-5D2B-41DC-AEF7-73D62B51543B}
inline constexpr IID IID_ICoreWebView2Controller3 = {
    0xF9614724, 0x5D2B, 0x41DC, {0xAE, 0xF7, 0x73, 0xD6, 0x2B, 0x51, 0x54, 0x3B}};
// {97D418D5-A426-4E49-A151-E1A10F327D9E}
inline constexpr IID IID_ICoreWebView2Controller4 = {
    0x97D418D5, 0xA426, 0x4E49, {0xA1, 0x51, 0xE1, 0xA1, 0x0F, 0x32, 0x7D, 0x9E}};
// {D4C185FE-C81C-4989-97AF-2D3FA7AB5651}
inline constexpr IID IID_ICoreWebView2NewWindowRequestedEventHandler = {
    0xD4C185FE, 0xC81C, 0x4989, {0x97, 0xAF, 0x2D, 0x3F, 0xA7, 0xAB, 0x56, 0x51}};
// {34ACB11C-FC37-4418-9132-F9C21D1EAFB9}
inline constexpr IID IID_ICoreWebView2NewWindowRequestedEventArgs = {
    0x34ACB11C, 0xFC37, 0x4418, {0x91, 0x32, 0xF9, 0xC2, 0x1D, 0x1E, 0xAF, 0xB9}};

using COREWEBVIEW2_BOUNDS_MODE = int;

// A colour, passed by value.
struct COREWEBVIEW2_COLOR {
    BYTE A;
    BYTE R;
    BYTE G;
    BYTE B;
};

struct ICoreWebView2RasterizationScaleChangedEventHandler;
struct ICoreWebView2Deferral;
struct ICoreWebView2WindowFeatures;
struct ICoreWebView2NewWindowRequestedEventArgs;

#define BRAMBOLT_WEBVIEW2_NOT_CALLED \
    { return E_NOTIMPL; }

struct ICoreWebView2NewWindowRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2NewWindowRequestedEventArgs* args) = 0;
};

// A page's request for a new window (window.open, a link with a target). Handled without a new
// window given: the page gets no window.
struct ICoreWebView2NewWindowRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* /*uri*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* /*newWindow*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** /*newWindow*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* /*handled*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* /*isUserInitiated*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** /*deferral*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** /*value*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

// What the view offers besides the page: Brambolt switches off what would let the person at the
// keyboard drive the view (developer tools, the default context menu, the status bar, and in
// the third version the browser's accelerator keys).
struct ICoreWebView2Settings : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* /*allowed*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL /*allowed*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

struct ICoreWebView2Settings2 : public ICoreWebView2Settings {
    virtual HRESULT STDMETHODCALLTYPE get_UserAgent(LPWSTR* /*userAgent*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_UserAgent(LPCWSTR /*userAgent*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

struct ICoreWebView2Settings3 : public ICoreWebView2Settings2 {
    virtual HRESULT STDMETHODCALLTYPE get_AreBrowserAcceleratorKeysEnabled(BOOL* /*enabled*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_AreBrowserAcceleratorKeysEnabled(BOOL enabled) = 0;
};

struct ICoreWebView2Controller2 : public ICoreWebView2Controller {
    virtual HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(COREWEBVIEW2_COLOR* /*color*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(COREWEBVIEW2_COLOR /*color*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

struct ICoreWebView2Controller3 : public ICoreWebView2Controller2 {
    virtual HRESULT STDMETHODCALLTYPE get_RasterizationScale(double* /*scale*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_RasterizationScale(double /*scale*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldDetectMonitorScaleChanges(BOOL* /*value*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_ShouldDetectMonitorScaleChanges(BOOL /*value*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE add_RasterizationScaleChanged(
        ICoreWebView2RasterizationScaleChangedEventHandler* /*eventHandler*/,
        EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_RasterizationScaleChanged(
        EventRegistrationToken /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_BoundsMode(COREWEBVIEW2_BOUNDS_MODE* /*boundsMode*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_BoundsMode(COREWEBVIEW2_BOUNDS_MODE /*boundsMode*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

// Runtimes from 1.0.1185 on: dropping from outside the view (a link, a file) can be refused.
struct ICoreWebView2Controller4 : public ICoreWebView2Controller3 {
    virtual HRESULT STDMETHODCALLTYPE get_AllowExternalDrop(BOOL* /*value*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_AllowExternalDrop(BOOL value) = 0;
};

#undef BRAMBOLT_WEBVIEW2_NOT_CALLED

}  // namespace brambolt::webview2
