#include "runtime/gtk/status_notifier.h"

#include <unistd.h>

#include <cstring>
#include <vector>

#include "runtime/gtk/tray_icon.h"
#include "runtime/gtk/x11_access.h"
#include "runtime/toolkit_front/tray_entry.h"

namespace kesto::gtk {

namespace {

constexpr char kInterface[] = R"xml(<node><interface name="org.kde.StatusNotifierItem">
  <method name="Activate"><arg direction="in" type="i"/><arg direction="in" type="i"/></method>
  <method name="SecondaryActivate"><arg direction="in" type="i"/><arg direction="in" type="i"/>
  </method>
  <method name="ContextMenu"><arg direction="in" type="i"/><arg direction="in" type="i"/></method>
  <method name="Scroll"><arg direction="in" type="i"/><arg direction="in" type="s"/></method>
  <signal name="NewTitle"/><signal name="NewIcon"/><signal name="NewToolTip"/>
  <signal name="NewStatus"><arg type="s"/></signal>
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
</interface></node>)xml";

constexpr char kItemPath[] = "/StatusNotifierItem";
constexpr char kMenuPath[] = "/MenuBar";
constexpr char kWatcher[] = "org.kde.StatusNotifierWatcher";

int shownItems = 0;

GDBusInterfaceInfo* Interface() {
  static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kInterface, nullptr);
  return node->interfaces[0];
}

// A window's pop-up menu is its hidden top-level menu, as the tray's right click shows it.
const ui::MenuLayout* PopupMenuOf(const ui::WindowLayout& layout) {
  for (const ui::MenuLayout& menu : layout.menus) {
    if (!menu.visible && !menu.children.empty()) return &menu;
  }
  return nullptr;
}

GDBusConnection* ConnectToSessionBus() {
  gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (!address) return nullptr;
  GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
      address,
      GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                           G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
  g_free(address);
  return bus;
}

GVariant* Pixmap(GdkPixbuf* icon) {
  GdkPixbuf* rgba = gdk_pixbuf_add_alpha(icon, FALSE, 0, 0, 0);
  const int width = gdk_pixbuf_get_width(rgba), height = gdk_pixbuf_get_height(rgba);
  const int stride = gdk_pixbuf_get_rowstride(rgba);
  const guint8* pixels = gdk_pixbuf_read_pixels(rgba);
  std::vector<guint8> argb;
  argb.reserve(std::size_t(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const guint8* p = pixels + y * stride + x * 4;
      argb.insert(argb.end(), {p[3], p[0], p[1], p[2]});
    }
  }
  g_object_unref(rgba);
  GVariant* bytes =
      g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, argb.data(), argb.size(), sizeof(guint8));
  GVariantBuilder images;
  g_variant_builder_init(&images, G_VARIANT_TYPE("a(iiay)"));
  g_variant_builder_add(&images, "(ii@ay)", width, height, bytes);
  return g_variant_ref_sink(g_variant_builder_end(&images));
}

}  // namespace

StatusNotifierItem::StatusNotifierItem(LoadedWindow& window, std::function<void(bool)> shown)
    : window_(window.weak_from_this()), onShown_(std::move(shown)) {
  bus_ = ConnectToSessionBus();
  if (!bus_) return;  // no session bus: only the XEmbed entry
  static const GDBusInterfaceVTable vtable{OnCall, OnGet, nullptr, {}};
  registration_ = g_dbus_connection_register_object(bus_, kItemPath, Interface(), &vtable, this,
                                                    nullptr, nullptr);
  if (const ui::MenuLayout* menu = PopupMenuOf(window.layout())) {
    menu_ = std::make_unique<DBusMenu>(bus_, kMenuPath, window, *menu);
  }
  pending_ = g_cancellable_new();
  hostSignals_ = g_dbus_connection_signal_subscribe(
      bus_, nullptr, kWatcher, nullptr, "/StatusNotifierWatcher", nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
      OnWatcherSignal, this, nullptr);
  watch_ = g_bus_watch_name_on_connection(bus_, kWatcher, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                          OnWatcherAppeared, OnWatcherVanished, this, nullptr);
}

// Not through SetShown: the entry it would show again goes with it.
StatusNotifierItem::~StatusNotifierItem() {
  if (shown_) --shownItems;
  if (pixmap_) g_variant_unref(pixmap_);
  if (!bus_) return;
  g_cancellable_cancel(pending_);
  g_object_unref(pending_);
  g_bus_unwatch_name(watch_);
  g_dbus_connection_signal_unsubscribe(bus_, hostSignals_);
  menu_.reset();
  g_dbus_connection_unregister_object(bus_, registration_);
  g_dbus_connection_close(bus_, nullptr, nullptr, nullptr);
  g_object_unref(bus_);
}

bool StatusNotifierItem::AnyShown() {
  return shownItems > 0;
}

void StatusNotifierItem::Update(GdkPixbuf* icon, const std::string& title, const std::string& tip) {
  if (pixmap_) g_variant_unref(pixmap_);
  pixmap_ = Pixmap(icon);
  title_ = title;
  tip_ = tip;
  Emit("NewTitle");
  Emit("NewIcon");
  Emit("NewToolTip");
}

void StatusNotifierItem::UpdateShown() {
  SetShown(registered_ && hostThere_);
}

void StatusNotifierItem::SetShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  shownItems += shown ? 1 : -1;
  if (onShown_) onShown_(shown);
}

void StatusNotifierItem::Emit(const char* signal) {
  if (!bus_) return;
  g_dbus_connection_emit_signal(bus_, nullptr, kItemPath, "org.kde.StatusNotifierItem", signal,
                                nullptr, nullptr);
}

// Every new watcher is told of the item: hosts learn of items only through it.
void StatusNotifierItem::OnWatcherAppeared(GDBusConnection* bus, const char*, const char* owner,
                                           gpointer data) {
  auto& self = *static_cast<StatusNotifierItem*>(data);
  self.watcher_ = owner;
  g_dbus_connection_call(bus, owner, "/StatusNotifierWatcher", kWatcher,
                         "RegisterStatusNotifierItem",
                         g_variant_new("(s)", g_dbus_connection_get_unique_name(bus)), nullptr,
                         G_DBUS_CALL_FLAGS_NONE, -1, self.pending_, OnRegistered, data);
  self.AskForHost();
}

// What was asked of the watcher that went is not waited for: its answers would be stale.
void StatusNotifierItem::OnWatcherVanished(GDBusConnection*, const char*, gpointer data) {
  auto& self = *static_cast<StatusNotifierItem*>(data);
  g_cancellable_cancel(self.pending_);
  g_object_unref(self.pending_);
  self.pending_ = g_cancellable_new();
  self.watcher_.clear();
  self.registered_ = false;
  self.hostThere_ = false;
  self.UpdateShown();
}

// The property says whether any host is left: one host going may leave another.
void StatusNotifierItem::AskForHost() {
  g_dbus_connection_call(
      bus_, watcher_.c_str(), "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties", "Get",
      g_variant_new("(ss)", kWatcher, "IsStatusNotifierHostRegistered"), G_VARIANT_TYPE("(v)"),
      G_DBUS_CALL_FLAGS_NONE, -1, pending_, OnHostProperty, this);
}

void StatusNotifierItem::OnWatcherSignal(GDBusConnection*, const char* sender, const char*,
                                         const char*, const char* signal, GVariant*,
                                         gpointer data) {
  auto& self = *static_cast<StatusNotifierItem*>(data);
  if (self.watcher_.empty() || self.watcher_ != sender) return;
  if (!std::strcmp(signal, "StatusNotifierHostRegistered") ||
      !std::strcmp(signal, "StatusNotifierHostUnregistered")) {
    self.AskForHost();
  }
}

// A watcher that cannot say (an error, a property it lacks) has no host for the item.
void StatusNotifierItem::OnHostProperty(GObject* bus, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
  const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
  if (error) g_error_free(error);
  if (cancelled) return;  // the item or the watcher is gone
  bool there = false;
  if (reply) {
    GVariant* value = nullptr;
    g_variant_get(reply, "(v)", &value);
    there = g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
    g_variant_unref(value);
    g_variant_unref(reply);
  }
  auto& self = *static_cast<StatusNotifierItem*>(data);
  self.hostThere_ = there;
  self.UpdateShown();
}

void StatusNotifierItem::OnRegistered(GObject* bus, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
  if (reply) g_variant_unref(reply);
  const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
  if (error) g_error_free(error);
  if (cancelled) return;  // the item is gone
  auto& self = *static_cast<StatusNotifierItem*>(data);
  self.registered_ = reply != nullptr;
  self.UpdateShown();
}

void StatusNotifierItem::OnCall(GDBusConnection*, const char*, const char*, const char*,
                                const char* method, GVariant*, GDBusMethodInvocation* call,
                                gpointer data) {
  auto& self = *static_cast<StatusNotifierItem*>(data);
  // A primary activation restores the window as a left click does; a host that asks the item
  // for its menu gets it at the pointer, as after a right click.
  int code = 0;
  if (!std::strcmp(method, "Activate")) code = front::kTrayLeftUp;
  if (!std::strcmp(method, "ContextMenu")) code = front::kTrayRightUp;
  if (code) FireWhenIdle(self.window_, "", ui::Event::kTrayNotify, {code, 0, 0, {}});
  g_dbus_method_invocation_return_value(call, nullptr);
}

GVariant* StatusNotifierItem::OnGet(GDBusConnection*, const char*, const char*, const char*,
                                    const char* property, GError**, gpointer data) {
  auto& self = *static_cast<StatusNotifierItem*>(data);
  auto is = [property](const char* name) { return !std::strcmp(property, name); };
  if (is("Category")) return g_variant_new_string("ApplicationStatus");
  if (is("Id")) return g_variant_new_string(g_get_prgname() ? g_get_prgname() : "kesto");
  if (is("Title")) return g_variant_new_string(self.title_.c_str());
  if (is("Status")) return g_variant_new_string("Active");
  if (is("IconName")) return g_variant_new_string("");
  if (is("ItemIsMenu")) return g_variant_new_boolean(FALSE);
  if (is("Menu")) return g_variant_new_object_path(self.menu_ ? kMenuPath : "/");
  if (is("WindowId")) {
    std::shared_ptr<front::LoadedWindow> window = self.window_.lock();
    GtkWidget* widget = window ? static_cast<LoadedWindow&>(*window).window() : nullptr;
    return g_variant_new_int32(widget ? gint32(XidOf(widget)) : 0);
  }
  // Both a reference to the icon, or an empty list of images before there is one.
  GVariant* images = self.pixmap_ ? g_variant_ref(self.pixmap_)
                                  : g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0);
  if (is("IconPixmap")) return images;
  // ToolTip: the icon, and the tip as its title.
  GVariant* tip = g_variant_new("(s@a(iiay)ss)", "", images, self.tip_.c_str(), "");
  if (self.pixmap_) g_variant_unref(images);
  return tip;
}

}  // namespace kesto::gtk
