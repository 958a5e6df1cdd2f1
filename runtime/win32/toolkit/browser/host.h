// The system's web browser control (IWebBrowser2) hosted in a window of ours without ATL: the
// HtmlViewer and the HTML interface box on Windows. The control types wrap it; the page's
// element events come back through the sink, answered while the page waits.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <memory>

#include "runtime/core.h"
#include "runtime/ui.h"

namespace kesto::win32 {

// One click, mouse move or wheel turn on the top-level document: the event type
// (ui::ElementEvent), the event object, whose "srcElement" carries the element's "ID" and
// "name", and the document's address. A result of false cancels the page's own action (the
// event's returnValue). The documents of the page's frames are not listened to.
using ElementEventSink =
    std::function<ui::EventResult(int eventType, const ui::Object& event, const Text& page)>;

// What a browser in a window of its own (a page's pop-up) follows besides: its page's title,
// and the page closing that window. Without them the title goes nowhere and the page's
// window.close() is refused.
struct OwnWindowEvents {
  std::function<void(const std::wstring&)> titleChanged;
  std::function<void()> closing;
};

class BrowserHost {
 public:
  virtual ~BrowserHost() = default;

  // The control in place in `parent`, covering `area` (client coordinates). Without a sink
  // the document's events are not listened to. nullptr when the system has no such control.
  // A page's new window opens in a pop-up window of the program's own (popup_window.h).
  static std::unique_ptr<BrowserHost> Create(HWND parent, const RECT& area, ElementEventSink sink,
                                             OwnWindowEvents ownWindow = {});

  virtual void Navigate(const Text& address) = 0;
  // A ui::BrowserCommand.
  virtual void Execute(int command) = 0;
  // The address shown (LocationURL); empty before the first navigation ends.
  virtual Text LocationUrl() = 0;
  virtual Text StatusText() = 0;
  virtual Text Title() = 0;
  virtual void SetSilent(bool silent) = 0;
  virtual void SetOffline(bool offline) = 0;
  virtual void Focus() = 0;
  virtual void Move(const RECT& area) = 0;
  virtual void Show(bool visible) = 0;
  // The message loop offers each key message here before dispatching it: the page's own keys
  // (Tab between fields, copy and paste, Backspace in a field) work only through the control.
  // True when the control took the message; it must then not be dispatched.
  virtual bool TranslateKey(MSG& message) = 0;
  // The control's automation object, a reference for the caller: what a page's request for a
  // new window is given to open it in, with its POST body, Referer and window.opener.
  virtual IDispatch* Automation() = 0;
};

// Tells the browser control in this program to use the newest document mode the system has
// (the per-user browser emulation setting for the program's file name). Called once at start.
void UseNewestDocumentMode();

}  // namespace kesto::win32
