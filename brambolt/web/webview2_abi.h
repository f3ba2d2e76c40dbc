// The WebView2 binary interface that Brambolt's two web views use, declared by us: no SDK header
// or import library is needed to build, and nothing links to the loader (it is found at run time,
// see webview2_runtime.h).
//
// Every interface keeps all of its methods in the public SDK's slot order; a method Brambolt never
// calls still takes its slot, with a body that answers E_NOTIMPL for implementers (such as a test
// runtime) that do not offer it. Methods Brambolt calls are pure.
// The settings, the later controllers and the new-window request: webview2_lockdown_abi.h.
//
// Where the facts come from (public references):
// - Slot order: the interface declarations of WebView2.idl as published by the WebView2 SDK,
//   checked against two independent public transcriptions of it: the generated Go bindings of
//   github.com/wailsapp/go-webview2 (pkg/edge/ICoreWebView2*.go, pkg/webview2/*.go: vtable structs
//   in declaration order) and the Rust crate webview2-sys (docs.rs: ICoreWebView2Controller "23
//   methods" from get_IsVisible to get_CoreWebView2, ICoreWebView2EnvironmentOptions with its eight
//   accessors). The member lists match the Win32 reference pages on learn.microsoft.com
//   (microsoft-edge/webview2/reference/win32/icorewebview2environmentoptions and siblings).
// - IIDs: identical in independent public ports of the SDK header: Delphi translations
//   (IID_ICoreWebView2*GUID constants, for example TMS's AdvWebBrowser.Win unit), the
//   win32metadata-generated Go package github.com/zzl/go-webview2 (wv2.IID_ICoreWebView2...), C#
//   interop declarations of "Microsoft.Web.WebView2.Core.Raw", and for the two completion handlers
//   github.com/webview/webview (core/include/webview/detail/platform/windows/webview2/loader.hh).
// - Loader exports and their parameters: github.com/webview/webview's loader.hh
//   (CreateCoreWebView2EnvironmentWithOptions_t, GetAvailableCoreWebView2BrowserVersionString_t).
// - COREWEBVIEW2_WEB_ERROR_STATUS values: the enumeration's order in the same Delphi units.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <unknwn.h>

#include <cstdint>

namespace brambolt::webview2 {

// {B96D755E-0319-4E92-A296-23436F46A1FC}
inline constexpr IID IID_ICoreWebView2Environment = {
    0xB96D755E, 0x0319, 0x4E92, {0xA2, 0x96, 0x23, 0x43, 0x6F, 0x46, 0xA1, 0xFC}};
// {4D00C0D1-9434-4EB6-8078-8697A560334F}
inline constexpr IID IID_ICoreWebView2Controller = {
    0x4D00C0D1, 0x9434, 0x4EB6, {0x80, 0x78, 0x86, 0x97, 0xA5, 0x60, 0x33, 0x4F}};
// {76ECEACB-0462-4D94-AC83-423A6793775E}
inline constexpr IID IID_ICoreWebView2 = {
    0x76ECEACB, 0x0462, 0x4D94, {0xAC, 0x83, 0x42, 0x3A, 0x67, 0x93, 0x77, 0x5E}};
// {5B495469-E119-438A-9B18-7604F25F2E49}
inline constexpr IID IID_ICoreWebView2NavigationStartingEventArgs = {
    0x5B495469, 0xE119, 0x438A, {0x9B, 0x18, 0x76, 0x04, 0xF2, 0x5F, 0x2E, 0x49}};
// {30D68B7D-20D9-4752-A9CA-EC8448FBB5C1}
inline constexpr IID IID_ICoreWebView2NavigationCompletedEventArgs = {
    0x30D68B7D, 0x20D9, 0x4752, {0xA9, 0xCA, 0xEC, 0x84, 0x48, 0xFB, 0xB5, 0xC1}};
// {2FDE08A8-1E9A-4766-8C05-95A9CEB9D1C5}
inline constexpr IID IID_ICoreWebView2EnvironmentOptions = {
    0x2FDE08A8, 0x1E9A, 0x4766, {0x8C, 0x05, 0x95, 0xA9, 0xCE, 0xB9, 0xD1, 0xC5}};
// {4E8A3389-C9D8-4BD2-B6B5-124FEE6CC14D}
inline constexpr IID IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler = {
    0x4E8A3389, 0xC9D8, 0x4BD2, {0xB6, 0xB5, 0x12, 0x4F, 0xEE, 0x6C, 0xC1, 0x4D}};
// {6C4819F3-C9B7-4260-8127-C9F5BDE7F68C}
inline constexpr IID IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler = {
    0x6C4819F3, 0xC9B7, 0x4260, {0x81, 0x27, 0xC9, 0xF5, 0xBD, 0xE7, 0xF6, 0x8C}};
// {9ADBE429-F36D-432B-9DDC-F8881FBD76E3}
inline constexpr IID IID_ICoreWebView2NavigationStartingEventHandler = {
    0x9ADBE429, 0xF36D, 0x432B, {0x9D, 0xDC, 0xF8, 0x88, 0x1F, 0xBD, 0x76, 0xE3}};
// {D33A35BF-1C49-4F98-93AB-006E0533FE1C}
inline constexpr IID IID_ICoreWebView2NavigationCompletedEventHandler = {
    0xD33A35BF, 0x1C49, 0x4F98, {0x93, 0xAB, 0x00, 0x6E, 0x05, 0x33, 0xFE, 0x1C}};

// An event registration: a 64-bit value passed by value to the remove_ methods.
struct EventRegistrationToken {
    std::int64_t value;
};

using COREWEBVIEW2_WEB_ERROR_STATUS = int;
inline constexpr COREWEBVIEW2_WEB_ERROR_STATUS COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN = 0;
inline constexpr COREWEBVIEW2_WEB_ERROR_STATUS COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT = 12;
inline constexpr COREWEBVIEW2_WEB_ERROR_STATUS COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED =
    14;
using COREWEBVIEW2_MOVE_FOCUS_REASON = int;
using COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT = int;
using COREWEBVIEW2_WEB_RESOURCE_CONTEXT = int;

// Interfaces that only appear as parameters of methods Brambolt does not call.
struct ICoreWebView2HttpRequestHeaders;
struct ICoreWebView2WebResourceResponse;
struct ICoreWebView2DevToolsProtocolEventReceiver;
struct ICoreWebView2NewBrowserVersionAvailableEventHandler;
struct ICoreWebView2ZoomFactorChangedEventHandler;
struct ICoreWebView2MoveFocusRequestedEventHandler;
struct ICoreWebView2FocusChangedEventHandler;
struct ICoreWebView2AcceleratorKeyPressedEventHandler;
struct ICoreWebView2ContentLoadingEventHandler;
struct ICoreWebView2SourceChangedEventHandler;
struct ICoreWebView2HistoryChangedEventHandler;
struct ICoreWebView2ScriptDialogOpeningEventHandler;
struct ICoreWebView2PermissionRequestedEventHandler;
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler;
struct ICoreWebView2ExecuteScriptCompletedHandler;
struct ICoreWebView2CapturePreviewCompletedHandler;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler;
struct ICoreWebView2Settings;
struct ICoreWebView2NewWindowRequestedEventHandler;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler;
struct ICoreWebView2WebResourceRequestedEventHandler;
struct ICoreWebView2WindowCloseRequestedEventHandler;

struct ICoreWebView2;
struct ICoreWebView2Controller;
struct ICoreWebView2Environment;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2NavigationCompletedEventArgs;

#define BRAMBOLT_WEBVIEW2_NOT_CALLED \
    { return E_NOTIMPL; }

// The options given to CreateCoreWebView2EnvironmentWithOptions; Brambolt implements it
// (webview2_options.h) and the runtime reads it. Strings are handed out with CoTaskMemAlloc.
struct ICoreWebView2EnvironmentOptions : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) = 0;
};

struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode,
                                             ICoreWebView2Environment* createdEnvironment) = 0;
};

struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode,
                                             ICoreWebView2Controller* createdController) = 0;
};

struct ICoreWebView2NavigationStartingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2NavigationStartingEventArgs* args) = 0;
};

struct ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2NavigationCompletedEventArgs* args) = 0;
};

struct ICoreWebView2NavigationStartingEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* /*isUserInitiated*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* /*isRedirected*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_RequestHeaders(
        ICoreWebView2HttpRequestHeaders** /*requestHeaders*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* /*cancel*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* /*navigationId*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

struct ICoreWebView2NavigationCompletedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* /*navigationId*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

struct ICoreWebView2Environment : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(
        IStream* /*content*/, int /*statusCode*/, LPCWSTR /*reasonPhrase*/, LPCWSTR /*headers*/,
        ICoreWebView2WebResourceResponse** /*response*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* /*versionInfo*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler* /*eventHandler*/,
        EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(
        EventRegistrationToken /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

struct ICoreWebView2Controller : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* /*isVisible*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL /*isVisible*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_Bounds(RECT* /*bounds*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    // RECT travels by value, as the SDK declares it.
    virtual HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* /*zoomFactor*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* /*eventHandler*/,
                          EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT /*bounds*/, double /*zoomFactor*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON /*reason*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* /*eventHandler*/,
                           EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_GotFocus(ICoreWebView2FocusChangedEventHandler* /*eventHandler*/,
                 EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_LostFocus(ICoreWebView2FocusChangedEventHandler* /*eventHandler*/,
                  EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* /*eventHandler*/,
                              EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* /*parentWindow*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND /*parentWindow*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged()
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) = 0;
};

struct ICoreWebView2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler,
                           EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* /*eventHandler*/,
                       EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_SourceChanged(ICoreWebView2SourceChangedEventHandler* /*eventHandler*/,
                      EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* /*eventHandler*/,
                       EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                            EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler* /*eventHandler*/,
                                EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(
        EventRegistrationToken /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* /*eventHandler*/,
                                 EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(
        EventRegistrationToken /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* /*eventHandler*/,
                            EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* /*eventHandler*/,
                            EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* /*eventHandler*/,
                      EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR /*javaScript*/,
        ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* /*handler*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR /*id*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE ExecuteScript(
        LPCWSTR /*javaScript*/,
        ICoreWebView2ExecuteScriptCompletedHandler* /*handler*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE CapturePreview(
        COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT /*imageFormat*/, IStream* /*imageStream*/,
        ICoreWebView2CapturePreviewCompletedHandler* /*handler*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE Reload() BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR /*webMessageAsJson*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR /*webMessageAsString*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* /*handler*/,
                           EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    CallDevToolsProtocolMethod(LPCWSTR /*methodName*/, LPCWSTR /*parametersAsJson*/,
                               ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* /*handler*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* /*value*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* /*canGoBack*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* /*canGoForward*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE GoBack() BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE GoForward() BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(
        LPCWSTR /*eventName*/,
        ICoreWebView2DevToolsProtocolEventReceiver** /*receiver*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE Stop() BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* eventHandler,
                           EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* /*eventHandler*/,
                             EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* /*title*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR /*name*/, VARIANT* /*object*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR /*name*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
        ICoreWebView2ContainsFullScreenElementChangedEventHandler* /*eventHandler*/,
        EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(
        EventRegistrationToken /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    get_ContainsFullScreenElement(BOOL* /*containsFullScreenElement*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* /*eventHandler*/,
                             EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(
        LPCWSTR /*uri*/,
        COREWEBVIEW2_WEB_RESOURCE_CONTEXT /*resourceContext*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(
        LPCWSTR /*uri*/,
        COREWEBVIEW2_WEB_RESOURCE_CONTEXT /*resourceContext*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE
    add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* /*eventHandler*/,
                             EventRegistrationToken* /*token*/) BRAMBOLT_WEBVIEW2_NOT_CALLED;
    virtual HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken /*token*/)
        BRAMBOLT_WEBVIEW2_NOT_CALLED;
};

#undef BRAMBOLT_WEBVIEW2_NOT_CALLED

// The loader's two exports (WebView2Loader.dll), looked up by name at run time.
using GetAvailableCoreWebView2BrowserVersionStringFunction =
    HRESULT(STDMETHODCALLTYPE*)(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);
using CreateCoreWebView2EnvironmentWithOptionsFunction = HRESULT(STDMETHODCALLTYPE*)(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
    ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);

}  // namespace brambolt::webview2
