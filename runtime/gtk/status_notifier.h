// The window's tray entry as a StatusNotifierItem on the session bus, for the desktops whose
// tray host speaks that protocol instead of XEmbed: GNOME with its AppIndicator extension, KDE
// Plasma, Xfce, Cinnamon, the wlroots bars. The item registers with the watcher whenever one
// appears, and offers the window's pop-up menu to the host. It counts as shown only while the
// watcher says a host is there to draw it: a watcher can outlive its host (a panel that
// crashed, GNOME without the AppIndicator extension).
#pragma once

#include <gio/gio.h>

#include <functional>
#include <memory>
#include <string>

#include "runtime/gtk/dbus_menu.h"
#include "runtime/gtk/loaded_windows.h"

namespace kesto::gtk {

class StatusNotifierItem {
 public:
  // `shown` hears whether a host has the item, each time that changes while the item lives.
  StatusNotifierItem(LoadedWindow& window, std::function<void(bool)> shown);
  ~StatusNotifierItem();
  StatusNotifierItem(const StatusNotifierItem&) = delete;
  StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

  void Update(GdkPixbuf* icon, const std::string& title, const std::string& tip);
  bool shown() const { return shown_; }

  // Whether any item of this process is shown by a host.
  static bool AnyShown();

 private:
  static void OnCall(GDBusConnection*, const char*, const char*, const char*, const char* method,
                     GVariant*, GDBusMethodInvocation* call, gpointer self);
  static GVariant* OnGet(GDBusConnection*, const char*, const char*, const char*,
                         const char* property, GError**, gpointer self);
  static void OnWatcherAppeared(GDBusConnection*, const char*, const char* owner, gpointer self);
  static void OnWatcherVanished(GDBusConnection*, const char*, gpointer self);
  static void OnRegistered(GObject* bus, GAsyncResult* result, gpointer self);
  static void OnWatcherSignal(GDBusConnection*, const char* sender, const char*, const char*,
                              const char* signal, GVariant*, gpointer self);
  static void OnHostProperty(GObject* bus, GAsyncResult* result, gpointer self);

  void AskForHost();
  void UpdateShown();
  void SetShown(bool shown);
  void Emit(const char* signal);

  std::weak_ptr<front::LoadedWindow> window_;
  std::function<void(bool)> onShown_;
  // A connection of its own: closing it takes the item off every host at once.
  GDBusConnection* bus_ = nullptr;
  GCancellable* pending_ = nullptr;
  guint registration_ = 0;
  guint watch_ = 0;
  guint hostSignals_ = 0;
  std::string watcher_;  // the watcher's unique name while there is one
  bool registered_ = false;
  bool hostThere_ = false;
  std::unique_ptr<DBusMenu> menu_;
  bool shown_ = false;
  std::string title_, tip_;
  GVariant* pixmap_ = nullptr;  // a(iiay): the icon as ARGB in network byte order
};

}  // namespace kesto::gtk
