#include "runtime/gtk/element_event_bridge.h"

#include "runtime/posix/native_text.h"

namespace kesto::gtk {

namespace {

constexpr char kChannel[] = "kestoElementEvent";
// The script and its channel live in a script world of their own, which the page's scripts
// cannot enter: no page, and no frame in it, can post an event of its own making.
constexpr char kWorld[] = "kesto";

// Posts every click (left button), mouse move and wheel turn of the top-level document, with
// the element under the pointer and the document's address; cancels nothing itself. Events in
// frames stay in their frames' documents, where no script listens.
constexpr char kListenerScript[] = R"JS(
(function () {
  var handlers = window.webkit && window.webkit.messageHandlers;
  var channel = handlers && handlers.kestoElementEvent;
  if (!channel || window.__kestoElementEvents) return;
  window.__kestoElementEvents = true;
  // Half a UTF-16 pair has no UTF-8 form; it is sent as U+FFFD, which the program's text
  // shows as "?" like any other character GBK lacks.
  function wellFormed(text) {
    if (!/[\ud800-\udfff]/.test(text)) return text;
    var out = '';
    for (var i = 0; i < text.length; ++i) {
      var c = text.charCodeAt(i), next = text.charCodeAt(i + 1);
      if (c >= 0xd800 && c <= 0xdbff && next >= 0xdc00 && next <= 0xdfff) {
        out += text.substr(i++, 2);
      } else {
        out += c >= 0xd800 && c <= 0xdfff ? '\ufffd' : text[i];
      }
    }
    return out;
  }
  function post(code, event) {
    var element = event.target;
    if (element && element.nodeType !== 1) element = element.parentElement;
    var id = element && element.id ? String(element.id) : '';
    var name = element && element.getAttribute ? (element.getAttribute('name') || '') : '';
    channel.postMessage({code: code, id: wellFormed(id), name: wellFormed(name),
                         page: String(document.URL)});
  }
  var options = {capture: true, passive: true};
  window.addEventListener('click', function (e) { if (e.button === 0) post(-600, e); }, options);
  window.addEventListener('mousemove', function (e) { post(-606, e); }, options);
  window.addEventListener('wheel', function (e) { post(1033, e); }, options);
})();
)JS";

std::string TextProperty(JSCValue* object, const char* name) {
  JSCValue* value = jsc_value_object_get_property(object, name);
  std::string text;
  if (value && jsc_value_is_string(value)) {
    gchar* utf8 = jsc_value_to_string(value);
    text = utf8;
    g_free(utf8);
  }
  if (value) g_object_unref(value);
  return text;
}

int IntProperty(JSCValue* object, const char* name) {
  JSCValue* value = jsc_value_object_get_property(object, name);
  const int number = value && jsc_value_is_number(value) ? jsc_value_to_int32(value) : 0;
  if (value) g_object_unref(value);
  return number;
}

std::int64_t NowMs() {
  return g_get_monotonic_time() / 1000;
}

// Navigations the user's own gesture started: a followed link, or a page script run by a click.
bool StartedByUser(WebKitPolicyDecision* decision) {
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  return webkit_navigation_action_is_user_gesture(action) ||
         webkit_navigation_action_get_navigation_type(action) ==
             WEBKIT_NAVIGATION_TYPE_LINK_CLICKED;
}

}  // namespace

ElementEventBridge::ElementEventBridge(WebKitWebView* view, Listener listener, KeepAlive keepAlive)
    : view_(WEBKIT_WEB_VIEW(g_object_ref(view))),
      manager_(WEBKIT_USER_CONTENT_MANAGER(
          g_object_ref(webkit_web_view_get_user_content_manager(view)))),
      listener_(std::move(listener)),
      keepAlive_(std::move(keepAlive)) {
  g_signal_connect(manager_, (std::string("script-message-received::") + kChannel).c_str(),
                   G_CALLBACK(OnMessage), this);
  webkit_user_content_manager_register_script_message_handler_in_world(manager_, kChannel, kWorld);
  WebKitUserScript* script = webkit_user_script_new_for_world(
      kListenerScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
      WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kWorld, nullptr, nullptr);
  webkit_user_content_manager_add_script(manager_, script);
  webkit_user_script_unref(script);
  g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
}

ElementEventBridge::~ElementEventBridge() {
  g_signal_handlers_disconnect_by_data(manager_, this);
  g_signal_handlers_disconnect_by_data(view_, this);
  for (WebKitPolicyDecision* decision : waiting_) {
    webkit_policy_decision_ignore(decision);
    g_object_unref(decision);
  }
  g_object_unref(manager_);
  g_object_unref(view_);
}

void ElementEventBridge::OnMessage(WebKitUserContentManager*, WebKitJavascriptResult* message,
                                   ElementEventBridge* self) {
  JSCValue* value = webkit_javascript_result_get_js_value(message);
  if (!value || !jsc_value_is_object(value)) return;
  const std::shared_ptr<void> keep = self->keepAlive_();
  self->Deliver(IntProperty(value, "code"), posix::Utf8ToCodePage936(TextProperty(value, "id")),
                posix::Utf8ToCodePage936(TextProperty(value, "name")),
                posix::Utf8ToCodePage936(TextProperty(value, "page")));
}

void ElementEventBridge::Deliver(int code, const Text& id, const Text& name, const Text& page) {
  if (code != ui::kEventClick) {
    listener_(code, id, name, page);
    return;
  }
  gate_.ClickStarted();
  const ui::EventResult result = listener_(code, id, name, page);
  gate_.ClickAnswered(result != false, NowMs());
  ReleaseWaiting();
}

void ElementEventBridge::ReleaseWaiting() {
  if (waiting_.empty()) return;
  const ClickGate::Decision decision = gate_.ForWaitingNavigations();
  if (decision == ClickGate::Decision::kWait) return;
  for (WebKitPolicyDecision* waiting : waiting_) {
    if (decision == ClickGate::Decision::kIgnore) {
      webkit_policy_decision_ignore(waiting);
    } else {
      webkit_policy_decision_use(waiting);
    }
    g_object_unref(waiting);
  }
  waiting_.clear();
}

gboolean ElementEventBridge::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                            WebKitPolicyDecisionType type,
                                            ElementEventBridge* self) {
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE || !StartedByUser(decision)) return FALSE;
  switch (self->gate_.ForUserNavigation(NowMs())) {
    case ClickGate::Decision::kAllow:
      return FALSE;
    case ClickGate::Decision::kIgnore:
      webkit_policy_decision_ignore(decision);
      return TRUE;
    case ClickGate::Decision::kWait:
      self->waiting_.push_back(WEBKIT_POLICY_DECISION(g_object_ref(decision)));
      return TRUE;
  }
  return FALSE;
}

}  // namespace kesto::gtk
