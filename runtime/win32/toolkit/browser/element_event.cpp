// Reading the element of a document event and answering the event.
#include "runtime/win32/toolkit/browser/element_event.h"

#include <string_view>

#include "runtime/toolkit_front/element_event.h"
#include "runtime/win32/toolkit/browser/automation.h"
#include "runtime/win32/toolkit/browser/page_text.h"

namespace kesto::win32 {

namespace {

// A text value as the handlers may hold it; anything else (null for a missing attribute,
// numbers, objects) is the empty text.
Text ElementText(const Variant& value) {
  if (value->vt != VT_BSTR || !value->bstrVal) return {};
  return FromPageText(std::wstring_view(value->bstrVal, SysStringLen(value->bstrVal)),
                      kElementTextLimit);
}

ui::Object ReadEventObject(IDispatch* event) {
  Text id;
  Text name;
  Variant element;
  if (SUCCEEDED(GetProperty(event, L"srcElement", element)) && element->vt == VT_DISPATCH &&
      element->pdispVal) {
    Variant idValue;
    if (SUCCEEDED(GetProperty(element->pdispVal, L"id", idValue))) id = ElementText(idValue);
    // The name attribute, not a property: most elements have no name property of their own.
    Variant nameValue;
    if (SUCCEEDED(CallWithText(element->pdispVal, L"getAttribute", L"name", nameValue))) {
      name = ElementText(nameValue);
    }
  }
  return front::ElementEventObject(id, name);
}

}  // namespace

bool DeliverElementEvent(IDispatch* event, int eventType, const Text& page,
                         const ElementEventSink& sink) {
  if (!event || !sink) return false;
  ui::EventResult answer = sink(eventType, ReadEventObject(event), page);
  if (answer.value_or(true)) return false;
  VARIANT no;
  VariantInit(&no);
  no.vt = VT_BOOL;
  no.boolVal = VARIANT_FALSE;
  PutProperty(event, L"returnValue", no);
  return true;
}

}  // namespace kesto::win32
