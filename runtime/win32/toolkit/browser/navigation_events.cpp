// The control's navigation events passed to the host.
#include "runtime/win32/toolkit/browser/navigation_events.h"

#include <exdisp.h>
#include <exdispid.h>

#include "runtime/toolkit_front/page_addresses.h"
#include "runtime/win32/toolkit/browser/page_text.h"

namespace kesto::win32 {

namespace {

// Sets the event's by-reference Cancel argument, found at its place from the end.
void Cancel(const DISPPARAMS& params, UINT fromEnd) {
  if (params.cArgs < fromEnd) return;
  VARIANT& cancel = params.rgvarg[params.cArgs - fromEnd];
  if (cancel.vt == (VT_BYREF | VT_BOOL) && cancel.pboolVal) *cancel.pboolVal = VARIANT_TRUE;
}

// The control's addresses are whole ones, so they name their schemes.
Text SchemeOf(const std::wstring& address) {
  return front::SchemeOf(FromPageText(address, kPageTextLimit));
}

// A new window goes on for a web page or mail.
bool IsWebOrMail(const std::wstring& address) {
  const Text text = FromPageText(address, kPageTextLimit);
  return !SchemeOf(address).empty() && !front::DesktopAddress(text).empty();
}

// A web page's new window may open in a browser of the program's own.
bool IsWebPage(const std::wstring& address) {
  const Text scheme = SchemeOf(address);
  return (scheme == "http" || scheme == "https") && IsWebOrMail(address);
}

// Where the control itself may go: web pages and mail, as the desktop may be given them; its
// own empty and error pages; a page's script links, which stay in the page. Any other address
// (a file, a share, a program's own scheme) the control would hand to whatever the system has
// registered for it.
bool MayNavigate(const std::wstring& address) {
  const Text scheme = SchemeOf(address);
  return IsWebOrMail(address) || scheme == "about" || scheme == "res" || scheme == "javascript";
}

// An event argument that is a text, given directly or by reference.
BSTR TextArgument(const VARIANT& argument) {
  const VARIANT* value = argument.vt == (VT_BYREF | VT_VARIANT) ? argument.pvarVal : &argument;
  return value && value->vt == VT_BSTR ? value->bstrVal : nullptr;
}

std::wstring WholeText(BSTR text) {
  return std::wstring(text, SysStringLen(text));
}

}  // namespace

NavigationEventSink::NavigationEventSink(Listener listener)
    : EventSink(__uuidof(DWebBrowserEvents2)), listener_(std::move(listener)) {}

void NavigationEventSink::OnEvent(DISPID id, const DISPPARAMS& params, VARIANT*) {
  switch (id) {
    case DISPID_NAVIGATECOMPLETE2:
    case DISPID_DOCUMENTCOMPLETE:
      if (auto loaded = listener_.documentLoaded) loaded();
      break;
    case DISPID_STATUSTEXTCHANGE:
      if (params.cArgs >= 1 && params.rgvarg[0].vt == VT_BSTR && params.rgvarg[0].bstrVal) {
        BSTR text = params.rgvarg[0].bstrVal;
        if (auto changed = listener_.statusTextChanged) {
          changed(std::wstring(text, SysStringLen(text)));
        }
      }
      break;
    case DISPID_BEFORENAVIGATE2: {
      // pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel.
      if (params.cArgs != 7) break;
      const BSTR address = TextArgument(params.rgvarg[params.cArgs - 2]);
      if (address && !MayNavigate(std::wstring(address, SysStringLen(address)))) Cancel(params, 7);
      break;
    }
    case DISPID_NEWWINDOW3: {
      // ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl.
      const BSTR address = params.cArgs == 5 ? TextArgument(params.rgvarg[0]) : nullptr;
      if (address && IsWebPage(WholeText(address)) && listener_.newWindow) {
        VARIANT& browser = params.rgvarg[4];
        if (browser.vt == (VT_BYREF | VT_DISPATCH) && browser.ppdispVal) {
          if (IDispatch* made = listener_.newWindow()) {
            *browser.ppdispVal = made;
            break;
          }
        }
      }
      Cancel(params, 2);
      if (!address) break;
      const std::wstring wanted = WholeText(address);
      if (auto refused = listener_.newWindowRefused; refused && IsWebOrMail(wanted)) {
        refused(wanted);
      }
      break;
    }
    case DISPID_TITLECHANGE:  // Text
      if (params.cArgs >= 1 && params.rgvarg[0].vt == VT_BSTR && params.rgvarg[0].bstrVal) {
        if (auto changed = listener_.titleChanged) changed(WholeText(params.rgvarg[0].bstrVal));
      }
      break;
    case DISPID_WINDOWCLOSING:  // IsChildWindow, Cancel
      // The window goes by its own road, never from inside the control's event.
      Cancel(params, 2);
      if (auto closing = listener_.closing; closing && params.cArgs == 2) closing();
      break;
  }
}

}  // namespace kesto::win32
