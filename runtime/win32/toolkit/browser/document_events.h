// The sink of a document's click, mouse-move and wheel events (HTMLDocumentEvents2).
#pragma once

#include <memory>

#include "runtime/win32/toolkit/browser/event_sink.h"
#include "runtime/win32/toolkit/browser/host.h"

namespace kesto::win32 {

class DocumentEventSink final : public EventSink {
 public:
  explicit DocumentEventSink(ElementEventSink handler);
  // No further calls reach the handler; the control may still hold the sink for a while.
  void Detach() { handler_.reset(); }

 protected:
  void OnEvent(DISPID id, const DISPPARAMS& params, VARIANT* result) override;

 private:
  std::shared_ptr<const ElementEventSink> handler_;
};

}  // namespace kesto::win32
