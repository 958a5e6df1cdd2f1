// A window's menu popped up at the pointer: its items as a GTK menu, the chosen one reported as
// the item's chosen event; the menu goes once it closes.
#include "runtime/gtk/loaded_windows.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit_front/back_end.h"

namespace kesto::gtk {

namespace {

struct Choice {
  std::weak_ptr<front::LoadedWindow> window;
  Text item;
};

void OnChosen(GtkMenuItem*, Choice* choice) {
  std::shared_ptr<front::LoadedWindow> window = choice->window.lock();
  if (!window) return;
  const Text item = choice->item;  // the menu may be gone by the time the handler returns
  window->Fire(item, ui::Event::kMenuChosen);
}

GtkWidget* BuildMenu(LoadedWindow& window, const ui::MenuLayout& layout) {
  GtkWidget* menu = gtk_menu_new();
  for (const ui::MenuLayout& child : layout.children) {
    if (!child.visible) continue;
    GtkWidget* item = gtk_menu_item_new_with_label(posix::GbkToUtf8(child.name).c_str());
    if (!child.children.empty()) {
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), BuildMenu(window, child));
    } else {
      g_signal_connect_data(
          item, "activate", G_CALLBACK(OnChosen), new Choice{window.weak_from_this(), child.name},
          [](gpointer data, GClosure*) { delete static_cast<Choice*>(data); }, GConnectFlags(0));
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  return menu;
}

gboolean DestroyLater(gpointer menu) {
  gtk_widget_destroy(GTK_WIDGET(menu));
  return G_SOURCE_REMOVE;
}

// After the choice has been handled: "deactivate" comes before the item's "activate".
void OnClosed(GtkMenuShell* menu, gpointer) {
  g_idle_add(DestroyLater, menu);
}

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

void ShowPopupMenu(LoadedWindow& loaded, const ui::MenuLayout& layout, std::optional<int> x,
                   std::optional<int> y) {
  GtkWidget* menu = gtk::BuildMenu(static_cast<gtk::LoadedWindow&>(loaded), layout);
  g_signal_connect(menu, "deactivate", G_CALLBACK(gtk::OnClosed), nullptr);
  gtk_widget_show_all(menu);

  GdkDisplay* display = gdk_display_get_default();
  int px = 0, py = 0;
  GdkSeat* seat = gdk_display_get_default_seat(display);
  gdk_device_get_position(gdk_seat_get_pointer(seat), nullptr, &px, &py);
  GdkRectangle at{x.value_or(px + kMenuOffsetFromPointer), y.value_or(py + kMenuOffsetFromPointer),
                  1, 1};
  GdkEvent* trigger = gtk_get_current_event();
  gtk_menu_popup_at_rect(GTK_MENU(menu), gdk_get_default_root_window(), &at, GDK_GRAVITY_NORTH_WEST,
                         GDK_GRAVITY_NORTH_WEST, trigger);
  if (trigger) gdk_event_free(trigger);
}

}  // namespace kesto::front
