// The page's element events on WebKitGTK. A user script listens, in the capturing phase, for
// clicks, mouse moves and wheel turns of the top-level document and posts each with the
// element's ID and name and the document's address; the program's handler runs when the
// message arrives. The page itself is never held up, so a
// handler's false is honoured where it matters: the navigation a cancelled click asks for is
// dropped when it reaches the navigation policy.
#pragma once

#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <vector>

#include "runtime/gtk/click_gate.h"
#include "runtime/ui.h"

namespace kesto::gtk {

class ElementEventBridge {
 public:
  // `page` is the address of the top-level document the event happened in.
  using Listener =
      std::function<ui::EventResult(int code, const Text& id, const Text& name, const Text& page)>;
  // Keeps the bridge's owner, and so the bridge, alive while a message is handled: a handler
  // that processes events may see the window closed under it.
  using KeepAlive = std::function<std::shared_ptr<void>()>;

  // Adds the script and the message handler to the view's content manager.
  ElementEventBridge(WebKitWebView* view, Listener listener, KeepAlive keepAlive);
  ~ElementEventBridge();
  ElementEventBridge(const ElementEventBridge&) = delete;
  ElementEventBridge& operator=(const ElementEventBridge&) = delete;

 private:
  static void OnMessage(WebKitUserContentManager* manager, WebKitJavascriptResult* message,
                        ElementEventBridge* self);
  static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, ElementEventBridge* self);
  void Deliver(int code, const Text& id, const Text& name, const Text& page);
  void ReleaseWaiting();

  WebKitWebView* view_;
  WebKitUserContentManager* manager_;
  Listener listener_;
  KeepAlive keepAlive_;
  ClickGate gate_;
  std::vector<WebKitPolicyDecision*> waiting_;
};

}  // namespace kesto::gtk
