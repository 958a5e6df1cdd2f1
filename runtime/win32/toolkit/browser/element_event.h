// One document event turned into the element event handler's call and its answer turned back
// into the event's returnValue, while the page waits for it.
#pragma once

#include <oaidl.h>

#include "runtime/win32/toolkit/browser/host.h"

namespace kesto::win32 {

// `event` is the page's event object, `page` the address of the document it happened in. The
// handler gets an event object whose "srcElement" holds the element's "ID" and "name" (empty
// when the event has no element or the element no such attribute). A result of false sets the
// page's returnValue to false; true when it did.
bool DeliverElementEvent(IDispatch* event, int eventType, const Text& page,
                         const ElementEventSink& sink);

}  // namespace kesto::win32
