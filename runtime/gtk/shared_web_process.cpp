#include "runtime/gtk/shared_web_process.h"

#include <algorithm>
#include <string>
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

// "<data or cache home>/kesto/<kind>/<16 hexadecimal digits of the SHA-256 of the program's
// folder>": where the desktop keeps such data, one folder per installed copy, so that two
// copies never share a login. Without it WebKit takes "<data home>/<program name>", which for
// an installed platform is its own folder. The uninstaller finds them by the same rule.
std::string WebDataFolder(const char* home, const char* kind) {
  gchar* program = g_file_read_link("/proc/self/exe", nullptr);
  gchar* folder = program ? g_path_get_dirname(program) : g_strdup("/");
  gchar* digest = g_compute_checksum_for_string(G_CHECKSUM_SHA256, folder, -1);
  gchar* path = g_build_filename(home, "kesto", kind, std::string(digest, 16).c_str(), nullptr);
  std::string result = path;
  g_free(path);
  g_free(digest);
  g_free(folder);
  g_free(program);
  return result;
}

}  // namespace

WebKitWebContext* ProgramWebContext() {
  static WebKitWebContext* context = [] {
    WebKitWebsiteDataManager* data = webkit_website_data_manager_new(
        "base-data-directory", WebDataFolder(g_get_user_data_dir(), "webdata").c_str(),
        "base-cache-directory", WebDataFolder(g_get_user_cache_dir(), "webcache").c_str(), nullptr);
    WebKitWebContext* made = webkit_web_context_new_with_website_data_manager(data);
    g_object_unref(data);
    return made;
  }();
  return context;
}

WebKitWebView* NewSharedWebView() {
  std::vector<WebKitWebView*>& views = LiveViews();
  WebKitUserContentManager* manager = webkit_user_content_manager_new();
  GObject* created =
      views.empty()
          ? static_cast<GObject*>(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context",
                                               ProgramWebContext(), "user-content-manager", manager,
                                               nullptr))
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
