// The sink of a document's click, mouse-move and wheel events (HTMLDocumentEvents2).
#pragma once

#include <functional>
#include <memory>

#include "runtime/win32/toolkit/browser/event_sink.h"
#include "runtime/win32/toolkit/browser/host.h"

namespace kesto::win32 {

class DocumentEventSink final : public EventSink {
 public:
  // `page` reads the address of the document listened to, for each event: the browser's own
  // record of it, which no page script can change.
  DocumentEventSink(ElementEventSink handler, std::function<Text()> page);
  // No further calls reach the handler; the control may still hold the sink for a while.
  void Detach() { handler_.reset(); }

 protected:
  void OnEvent(DISPID id, const DISPPARAMS& params, VARIANT* result) override;

 private:
  std::shared_ptr<const ElementEventSink> handler_;
  const std::function<Text()> page_;
};

}  // namespace kesto::win32
