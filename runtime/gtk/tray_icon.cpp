// The notification-area entry of a window: a StatusNotifierItem where the desktop's tray host
// has it, else a GtkStatusIcon in the desktop's XEmbed notification area, which comes back when
// the host goes. The icon's clicks become the window's tray notification: 1 left button
// released, 2 left double-click, 3 right button released or the menu key.
#include "runtime/gtk/tray_icon.h"

#include <gdk/gdkx.h>

#include <string>

#include "runtime/gtk/status_notifier.h"
#include "runtime/gtk/ui_thread.h"
#include "runtime/gtk/window_icon.h"
#include "runtime/gtk/x11_access.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/tray_entry.h"

G_GNUC_BEGIN_IGNORE_DEPRECATIONS  // GtkStatusIcon is what speaks XEmbed to the tray

    namespace kesto::gtk {
  namespace {

  constexpr int kIconSize = 32;

  using front::NotifyTray;

  // The double-click's second press; the single presses wait for their release.
  gboolean OnPress(GtkStatusIcon*, GdkEventButton* press, LoadedWindow* window) {
    if (press->type == GDK_2BUTTON_PRESS && press->button == GDK_BUTTON_PRIMARY) {
      NotifyTray(*window, front::kTrayLeftDouble);
    }
    return TRUE;  // no "activate" or "popup-menu" of GTK's own for mouse buttons
  }

  gboolean OnRelease(GtkStatusIcon*, GdkEventButton* release, LoadedWindow* window) {
    if (release->button == GDK_BUTTON_PRIMARY) NotifyTray(*window, front::kTrayLeftUp);
    if (release->button == GDK_BUTTON_SECONDARY) NotifyTray(*window, front::kTrayRightUp);
    return TRUE;
  }

  // Only the keyboard gets here: the mouse presses stop above.
  void OnMenuKey(GtkStatusIcon*, guint, guint, LoadedWindow* window) {
    NotifyTray(*window, front::kTrayRightUp);
  }

  GtkStatusIcon* NewEntry(LoadedWindow& window) {
    GtkStatusIcon* entry = gtk_status_icon_new();
    gtk_status_icon_set_title(entry, gtk_window_get_title(GTK_WINDOW(window.window())));
    g_signal_connect(entry, "button-press-event", G_CALLBACK(OnPress), &window);
    g_signal_connect(entry, "button-release-event", G_CALLBACK(OnRelease), &window);
    g_signal_connect(entry, "popup-menu", G_CALLBACK(OnMenuKey), &window);
    return entry;
  }

  // The XEmbed entry stands aside while a StatusNotifier host shows the item.
  void Show(LoadedWindow& window, const Bytes& icon, const Text& tip) {
    if (!window.tray) window.tray = NewEntry(window);
    if (!window.notifier) {
      GtkStatusIcon* entry = window.tray;
      window.notifier = std::make_shared<StatusNotifierItem>(
          window, [entry](bool shown) { gtk_status_icon_set_visible(entry, !shown); });
    }
    GdkPixbuf* picture = IconPixbuf(icon, kIconSize);
    const std::string text = posix::GbkToUtf8(tip);
    gtk_status_icon_set_from_pixbuf(window.tray, picture);
    gtk_status_icon_set_tooltip_text(window.tray, text.c_str());
    gtk_status_icon_set_visible(window.tray, !window.notifier->shown());
    const char* title = gtk_window_get_title(GTK_WINDOW(window.window()));
    window.notifier->Update(picture, title ? title : "", text);
    g_object_unref(picture);
  }

  }  // namespace

  void RemoveTrayEntry(LoadedWindow & window) {
    window.notifier.reset();
    if (!window.tray) return;
    gtk_status_icon_set_visible(window.tray, FALSE);
    g_signal_handlers_disconnect_by_data(window.tray, &window);
    g_object_unref(window.tray);
    window.tray = nullptr;
  }

}  // namespace kesto::gtk

void kesto::front::ShowTrayEntry(LoadedWindow& window, const Bytes& icon, const Text& tip) {
  gtk::Show(static_cast<gtk::LoadedWindow&>(window), icon, tip);
}

G_GNUC_END_IGNORE_DEPRECATIONS

namespace kesto::ui {

// A notification area is there when a StatusNotifier host shows this process's item, or some
// program owns the system tray selection of the screen.
bool TrayAvailable() {
  bool available = false;
  gtk::RunOnUiThread([&] {
    available = gtk::StatusNotifierItem::AnyShown();
    Display* display = gtk::XDisplay();
    if (available || !display) return;
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    available = XGetSelectionOwner(display, gtk::XAtom(selection.c_str())) != None;
  });
  return available;
}

}  // namespace kesto::ui
