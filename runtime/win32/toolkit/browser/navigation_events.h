// The sink of the browser control's own events (DWebBrowserEvents2) that the host follows:
// a document loaded (in the control itself or in one of the page's frames), the status text
// changed, a page asks for a new window. A new window of the control's own would be a separate
// browser without the control's cookies, so a payment or login page opened there would lose the
// seller's session: each is refused, and its address handed to the host when it is a web page or
// mail (front::DesktopAddress); any other (a file, a share, a script) goes nowhere. The control
// itself goes only to web pages and mail, its own empty and error pages and a page's script
// links: it would hand any other address to the program the system has for it. A page's
// attempt to close the window the control lives in is refused too.
#pragma once

#include <functional>
#include <string>

#include "runtime/win32/toolkit/browser/event_sink.h"

namespace kesto::win32 {

class NavigationEventSink final : public EventSink {
 public:
  struct Listener {
    std::function<void()> documentLoaded;
    std::function<void(const std::wstring&)> statusTextChanged;
    // The web page or mail address a refused new window would have shown.
    std::function<void(const std::wstring&)> newWindowRefused;
  };

  explicit NavigationEventSink(Listener listener);
  void Detach() { listener_ = {}; }

 protected:
  void OnEvent(DISPID id, const DISPPARAMS& params, VARIANT* result) override;

 private:
  Listener listener_;
};

}  // namespace kesto::win32
