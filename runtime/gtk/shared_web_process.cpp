#include "runtime/gtk/shared_web_process.h"

#include <algorithm>
#include <vector>

namespace kesto::gtk {

namespace {

// The views alive now, oldest first; a new view is related to the oldest.
std::vector<WebKitWebView*>& LiveViews() {
  static std::vector<WebKitWebView*> views;
  return views;
}

// A destroyed view may live on while something holds it, but its page is closed: a new view
// must not be related to it.
void Forget(GtkWidget* gone, gpointer) {
  std::vector<WebKitWebView*>& views = LiveViews();
  views.erase(std::remove(views.begin(), views.end(), WEBKIT_WEB_VIEW(gone)), views.end());
}

// A crashed (or killed) web process takes the page with it; the panel shows it again instead
// of staying blank. An end the program asked for is left alone.
gboolean ReloadAfterCrash(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer) {
  if (reason != WEBKIT_WEB_PROCESS_TERMINATED_BY_API) webkit_web_view_reload(view);
  return FALSE;
}

}  // namespace

WebKitWebView* NewSharedWebView() {
  std::vector<WebKitWebView*>& views = LiveViews();
  WebKitUserContentManager* manager = webkit_user_content_manager_new();
  GObject* created =
      views.empty()
          ? static_cast<GObject*>(
                g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", manager, nullptr))
          : static_cast<GObject*>(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", views.front(),
                                               "user-content-manager", manager, nullptr));
  g_object_unref(manager);
  WebKitWebView* view = WEBKIT_WEB_VIEW(created);
  views.push_back(view);
  g_signal_connect(view, "destroy", G_CALLBACK(Forget), nullptr);
  g_signal_connect(view, "web-process-terminated", G_CALLBACK(ReloadAfterCrash), nullptr);
  return view;
}

}  // namespace kesto::gtk
