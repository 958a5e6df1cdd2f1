// The control's navigation events passed to the host.
#include "runtime/win32/toolkit/browser_navigation_events.h"

#include <exdisp.h>
#include <exdispid.h>

namespace kesto::win32 {

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
  }
}

}  // namespace kesto::win32
