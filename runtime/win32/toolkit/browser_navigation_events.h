// The sink of the browser control's own events (DWebBrowserEvents2) that the host follows:
// a document loaded, the status text changed.
#pragma once

#include <functional>
#include <string>

#include "runtime/win32/toolkit/browser_event_sink.h"

namespace kesto::win32 {

class NavigationEventSink final : public EventSink {
 public:
  struct Listener {
    std::function<void()> documentLoaded;
    std::function<void(const std::wstring&)> statusTextChanged;
  };

  explicit NavigationEventSink(Listener listener);
  void Detach() { listener_ = {}; }

 protected:
  void OnEvent(DISPID id, const DISPPARAMS& params, VARIANT* result) override;

 private:
  Listener listener_;
};

}  // namespace kesto::win32
