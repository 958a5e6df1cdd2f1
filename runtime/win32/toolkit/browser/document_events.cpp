// Document events handed to the element event handler.
#include "runtime/win32/toolkit/browser/document_events.h"

#include <mshtml.h>

#include "runtime/win32/toolkit/browser/element_event.h"

namespace kesto::win32 {

DocumentEventSink::DocumentEventSink(ElementEventSink handler, std::function<Text()> page)
    : EventSink(__uuidof(HTMLDocumentEvents2)),
      handler_(std::make_shared<const ElementEventSink>(std::move(handler))),
      page_(std::move(page)) {}

void DocumentEventSink::OnEvent(DISPID id, const DISPPARAMS& params, VARIANT* result) {
  if (id != ui::kEventClick && id != ui::kEventMouseMove && id != ui::kEventWheel) return;
  // The event object is the only argument.
  if (params.cArgs < 1 || params.rgvarg[0].vt != VT_DISPATCH) return;
  // Held here: the handler may detach this sink while it runs.
  std::shared_ptr<const ElementEventSink> handler = handler_;
  if (!handler) return;
  bool cancelled =
      DeliverElementEvent(params.rgvarg[0].pdispVal, id, page_ ? page_() : Text{}, *handler);
  // These events return a logical to the page as well; false also cancels there.
  if (result) {
    VariantClear(result);
    result->vt = VT_BOOL;
    result->boolVal = cancelled ? VARIANT_FALSE : VARIANT_TRUE;
  }
}

}  // namespace kesto::win32
