#include "runtime/gtk/open_address.h"

#include <gio/gio.h>

#include "runtime/posix/native_text.h"

namespace kesto::gtk {

// "host:port/path" parses as a scheme too; a scheme counts when "//" follows it or it is one of
// those that never take one.
std::string BrowserAddress(const std::string& address) {
  gchar* scheme = g_uri_parse_scheme(address.c_str());
  bool has_scheme = false;
  if (scheme) {
    const std::string name = scheme;
    has_scheme = address.compare(name.size(), 3, "://") == 0 || name == "mailto" ||
                 name == "about" || name == "data" || name == "javascript";
    g_free(scheme);
  }
  return has_scheme ? address : "http://" + address;
}

bool OpenInDefaultBrowser(const Text& address) {
  if (address.empty()) return false;
  const std::string uri = BrowserAddress(posix::GbkToUtf8(address));
  if (g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr)) return true;
  // Where GIO knows no handler, the desktop's own opener may still know one.
  gchar* argv[] = {const_cast<gchar*>("xdg-open"), const_cast<gchar*>(uri.c_str()), nullptr};
  return g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
                       nullptr);
}

}  // namespace kesto::gtk
