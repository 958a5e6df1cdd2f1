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
      Cancel(params, 2);
      const BSTR address = params.cArgs == 5 ? TextArgument(params.rgvarg[0]) : nullptr;
      if (!address) break;
      const std::wstring wanted(address, SysStringLen(address));
      if (auto refused = listener_.newWindowRefused; refused && IsWebOrMail(wanted)) {
        refused(wanted);
      }
      break;
    }
    case DISPID_WINDOWCLOSING:  // IsChildWindow, Cancel
      Cancel(params, 2);
      break;
  }
}

}  // namespace kesto::win32
