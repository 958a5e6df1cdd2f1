#include "runtime/gtk/open_address.h"

#include <gio/gio.h>

#include "runtime/posix/native_text.h"
#include "runtime/toolkit_front/page_addresses.h"

namespace kesto::gtk {

bool OpenInDefaultBrowser(const Text& address) {
  const Text allowed = front::DesktopAddress(address);
  if (allowed.empty()) return false;
  const std::string uri = posix::GbkToUtf8(allowed);
  if (g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr)) return true;
  // Where GIO knows no handler, the desktop's own opener may still know one.
  gchar* argv[] = {const_cast<gchar*>("xdg-open"), const_cast<gchar*>(uri.c_str()), nullptr};
  return g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
                       nullptr);
}

}  // namespace kesto::gtk
