// A window's pop-up menu offered over D-Bus (com.canonical.dbusmenu), for the desktops whose
// tray host draws an entry's menu itself. A chosen item is reported as the item's chosen event,
// as from the menu the window pops up.
#pragma once

#include <gio/gio.h>

#include <memory>
#include <vector>

#include "runtime/gtk/loaded_windows.h"

namespace kesto::gtk {

class DBusMenu {
 public:
  // Offers `menu`'s items at `path` on `bus` while it lives.
  DBusMenu(GDBusConnection* bus, const char* path, LoadedWindow& window, ui::MenuLayout menu);
  ~DBusMenu();
  DBusMenu(const DBusMenu&) = delete;
  DBusMenu& operator=(const DBusMenu&) = delete;

 private:
  static void OnCall(GDBusConnection*, const char*, const char*, const char*, const char* method,
                     GVariant* parameters, GDBusMethodInvocation* call, gpointer self);
  static GVariant* OnGet(GDBusConnection*, const char*, const char*, const char*,
                         const char* property, GError**, gpointer self);

  GVariant* Node(int id, int depth) const;
  GVariant* Properties(int id) const;
  void Clicked(int id);

  GDBusConnection* bus_;
  guint registration_ = 0;
  std::weak_ptr<front::LoadedWindow> window_;
  ui::MenuLayout menu_;
  // Every item by its id, the menu itself first (id 0); each id's children's ids.
  std::vector<const ui::MenuLayout*> items_;
  std::vector<std::vector<int>> children_;
};

}  // namespace kesto::gtk
