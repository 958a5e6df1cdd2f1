// The control's navigation events passed to the host.
#include "runtime/win32/toolkit/browser/navigation_events.h"

#include <exdisp.h>
#include <exdispid.h>

namespace kesto::win32 {

namespace {

// Sets the event's by-reference Cancel argument, found at its place from the end.
void Cancel(const DISPPARAMS& params, UINT fromEnd) {
  if (params.cArgs < fromEnd) return;
  VARIANT& cancel = params.rgvarg[params.cArgs - fromEnd];
  if (cancel.vt == (VT_BYREF | VT_BOOL) && cancel.pboolVal) *cancel.pboolVal = VARIANT_TRUE;
}

}  // namespace

NavigationEventSink::NavigationEventSink(Listener listener)
    : EventSink(__uuidof(DWebBrowserEvents2)), listener_(std::move(listener)) {}

void NavigationEventSink::OnEvent(DISPID id, const DISPPARAMS& params, VARIANT*) {
  switch (id) {
    case DISPID_NAVIGATECOMPLETE2:
    case DISPID_DOCUMENTCOMPLETE:
      if (auto loaded = listener_.documentLoaded) {
        // The browser is the first argument, so the last in the array.
        const VARIANT* browser = params.cArgs >= 1 ? &params.rgvarg[params.cArgs - 1] : nullptr;
        loaded(browser && browser->vt == VT_DISPATCH ? browser->pdispVal : nullptr);
      }
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
      if (auto refused = listener_.newWindowRefused) {
        refused(address && address->vt == VT_BSTR && address->bstrVal
                    ? std::wstring(address->bstrVal, SysStringLen(address->bstrVal))
                    : std::wstring());
      }
      break;
    }
    case DISPID_WINDOWCLOSING:  // IsChildWindow, Cancel
      Cancel(params, 2);
      break;
  }
}

}  // namespace kesto::win32
