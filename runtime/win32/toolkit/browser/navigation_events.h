// The sink of the browser control's own events (DWebBrowserEvents2) that the host follows:
// a document loaded (in the control itself or in one of the page's frames), the status text and
// the title changed, a page asks for a new window or closes its own. A new window of the
// control's own would be a separate browser without the control's cookies, so a payment or login
// page opened there would lose the seller's session: a web page's new window is shown instead in
// a browser the host makes in a window of the program's own (which keeps the session, and the
// page's POST body, Referer and window.opener), or in place where the host makes none; mail goes
// in place, to the mail program; any other address (a file, a share, a script) goes nowhere. The
// control itself goes only to web pages and mail, its own empty and error pages and a page's
// script links: it would hand any other address to the program the system has for it. A page's
// attempt to close the window the control lives in is refused, but where the window is the
// page's own.
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
    // For a web page's new window: the automation object of a new browser to show it in (the
    // reference is handed to the control); nullptr refuses the window.
    std::function<IDispatch*()> newWindow;
    std::function<void(const std::wstring&)> titleChanged;
    // The page closes its window; without it the page's window.close() is refused.
    std::function<void()> closing;
  };

  explicit NavigationEventSink(Listener listener);
  void Detach() { listener_ = {}; }

 protected:
  void OnEvent(DISPID id, const DISPPARAMS& params, VARIANT* result) override;

 private:
  Listener listener_;
};

}  // namespace kesto::win32
