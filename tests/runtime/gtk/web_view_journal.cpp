#include "tests/runtime/gtk/web_view_journal.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace kesto::testing {

namespace {

constexpr char kNumberKey[] = "kesto-journal-number";

void Note(WebKitWebView* view, const std::string& what) {
  const gchar* uri = webkit_web_view_get_uri(view);
  WebViewJournal() +=
      std::to_string(g_get_monotonic_time() / 1000) + " ms: view " +
      std::to_string(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(view), kNumberKey))) + " " + what +
      ", showing " + (uri ? "\"" + std::string(uri) + "\"" : "nothing") + "\n";
}

void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer) {
  static const char* const kEvents[] = {"started", "redirected", "committed", "finished"};
  Note(view, std::string("load ") + kEvents[event]);
}

gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent, gchar* uri, GError* error, gpointer) {
  Note(view, std::string("load of ") + uri + " failed: " + error->message);
  return FALSE;
}

void OnWebProcessEnded(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer) {
  Note(view, "lost its web process (reason " + std::to_string(reason) + ")");
}

void Watch(GtkWidget* widget, gpointer) {
  if (!WEBKIT_IS_WEB_VIEW(widget)) {
    if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), Watch, nullptr);
    return;
  }
  if (g_object_get_data(G_OBJECT(widget), kNumberKey)) return;
  static int watched = 0;
  g_object_set_data(G_OBJECT(widget), kNumberKey, GINT_TO_POINTER(++watched));
  g_signal_connect(widget, "load-changed", G_CALLBACK(OnLoadChanged), nullptr);
  g_signal_connect(widget, "load-failed", G_CALLBACK(OnLoadFailed), nullptr);
  g_signal_connect(widget, "web-process-terminated", G_CALLBACK(OnWebProcessEnded), nullptr);
  WebKitWebView* view = WEBKIT_WEB_VIEW(widget);
  Note(view, webkit_web_view_is_loading(view) ? "watched while loading" : "watched, not loading");
}

}  // namespace

void WatchWebViews() {
  GList* windows = gtk_window_list_toplevels();
  for (GList* window = windows; window; window = window->next) {
    Watch(GTK_WIDGET(window->data), nullptr);
  }
  g_list_free(windows);
}

std::string& WebViewJournal() {
  static std::string journal;
  return journal;
}

}  // namespace kesto::testing
