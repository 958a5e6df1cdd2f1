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

// A new window's address is a whole one, so it names its scheme: a web page or mail goes on.
bool IsWebOrMail(const std::wstring& address) {
  const Text text = FromPageText(address, kPageTextLimit);
  return !front::SchemeOf(text).empty() && !front::DesktopAddress(text).empty();
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
    case DISPID_NEWWINDOW3: {
      // ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl.
      Cancel(params, 2);
      const VARIANT* address = params.cArgs == 5 ? &params.rgvarg[0] : nullptr;
      if (!address || address->vt != VT_BSTR || !address->bstrVal) break;
      const std::wstring wanted(address->bstrVal, SysStringLen(address->bstrVal));
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
