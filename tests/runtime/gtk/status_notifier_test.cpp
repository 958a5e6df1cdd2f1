// The tray entry on a desktop whose tray host speaks StatusNotifierItem: a private session bus
// (dbus-daemon) with a stand-in watcher, and the test calling the item as a host does.
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/window_icon.h"
#include "runtime/posix/native_text.h"
#include "tests/recording_handlers/recording_handlers.h"
#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/gui_windows.h"
#include "tests/runtime/gtk/tray_support.h"
#include "tests/runtime/gtk/x_session.h"

namespace kesto::testing {
namespace {

constexpr char kItemInterface[] = "org.kde.StatusNotifierItem";
constexpr char kMenuInterface[] = "com.canonical.dbusmenu";

// A session bus of the test's own; its address goes into the environment.
class PrivateBus {
 public:
  PrivateBus() {
    const char* argv[] = {"dbus-daemon", "--session", "--nofork", "--print-address=1", nullptr};
    int out = -1;
    if (!g_spawn_async_with_pipes(nullptr, const_cast<char**>(argv), nullptr,
                                  GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD),
                                  nullptr, nullptr, &pid_, nullptr, &out, nullptr, nullptr)) {
      return;
    }
    std::string line;
    char c;
    while (read(out, &c, 1) == 1 && c != '\n') line += c;
    close(out);
    if (!line.empty()) address_ = line;
    setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
  }
  ~PrivateBus() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& address() const { return address_; }

 private:
  GPid pid_ = 0;
  std::string address_;
};

GDBusConnection* Connect(const std::string& address) {
  return g_dbus_connection_new_for_address_sync(
      address.c_str(),
      GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                           G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
}

// Owns the watcher's name while it lives and keeps the items that register with it, as the
// desktop's tray host would; also makes the host's calls, answered while the test pumps. Its
// host can be away, as when a panel crashed and left the watcher behind.
class StandInWatcher {
 public:
  explicit StandInWatcher(const std::string& address, bool host = true)
      : bus_(Connect(address)), host_(host) {
    static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(
        R"xml(<node><interface name="org.kde.StatusNotifierWatcher">
          <method name="RegisterStatusNotifierItem"><arg direction="in" type="s"/></method>
          <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
          <signal name="StatusNotifierHostRegistered"/>
          <signal name="StatusNotifierHostUnregistered"/>
        </interface></node>)xml",
        nullptr);
    static const GDBusInterfaceVTable vtable{OnCall, OnGet, nullptr, {}};
    registration_ = g_dbus_connection_register_object(
        bus_, "/StatusNotifierWatcher", node->interfaces[0], &vtable, this, nullptr, nullptr);
    GVariant* reply = g_dbus_connection_call_sync(
        bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "RequestName", g_variant_new("(su)", "org.kde.StatusNotifierWatcher", 4u), nullptr,
        G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    if (reply) g_variant_unref(reply);
  }
  ~StandInWatcher() {
    g_dbus_connection_unregister_object(bus_, registration_);
    g_dbus_connection_close_sync(bus_, nullptr, nullptr);
    g_object_unref(bus_);
  }

  const std::vector<std::string>& items() const { return items_; }

  // A host comes or goes, and the watcher says so.
  void SetHost(bool host) {
    host_ = host;
    g_dbus_connection_emit_signal(
        bus_, nullptr, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
        host ? "StatusNotifierHostRegistered" : "StatusNotifierHostUnregistered", nullptr, nullptr);
  }

  // A call to the registered item, answered while the test pumps; nullptr on an error.
  GVariant* Call(const char* path, const char* interface, const char* method, GVariant* args) {
    std::pair<bool, GVariant*> reply{false, nullptr};
    g_dbus_connection_call(
        bus_, items_.back().c_str(), path, interface, method, args, nullptr, G_DBUS_CALL_FLAGS_NONE,
        5000, nullptr,
        [](GObject* bus, GAsyncResult* result, gpointer data) {
          auto& reply = *static_cast<std::pair<bool, GVariant*>*>(data);
          reply = {true, g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr)};
        },
        &reply);
    PumpUntil([&] { return reply.first; });
    return reply.second;
  }

  GVariant* ItemProperty(const char* name) {
    GVariant* reply = Call("/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                           g_variant_new("(ss)", kItemInterface, name));
    if (!reply) return nullptr;
    GVariant* value = nullptr;
    g_variant_get(reply, "(v)", &value);
    g_variant_unref(reply);
    return value;
  }

 private:
  static void OnCall(GDBusConnection*, const char* sender, const char*, const char*, const char*,
                     GVariant* args, GDBusMethodInvocation* call, gpointer self) {
    const char* service = nullptr;
    g_variant_get(args, "(&s)", &service);
    static_cast<StandInWatcher*>(self)->items_.push_back(service[0] == '/' ? sender : service);
    g_dbus_method_invocation_return_value(call, nullptr);
  }
  static GVariant* OnGet(GDBusConnection*, const char*, const char*, const char*, const char*,
                         GError**, gpointer self) {
    return g_variant_new_boolean(static_cast<StandInWatcher*>(self)->host_);
  }

  GDBusConnection* bus_;
  bool host_;
  guint registration_ = 0;
  std::vector<std::string> items_;
};

std::string Utf8(const char* gbk) {
  return posix::GbkToUtf8(Text(gbk));
}

std::unique_ptr<PrivateBus> bus;

class StatusNotifier : public TrayFixture {
 protected:
  static void SetUpTestSuite() { bus = std::make_unique<PrivateBus>(); }
  static void TearDownTestSuite() { bus.reset(); }

  void SetUp() override {
    if (bus->address().empty()) GTEST_SKIP() << "no private session bus (dbus-daemon) started";
    watcher_ = std::make_unique<StandInWatcher>(bus->address());
    TrayFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(PumpUntil([&] { return watcher_->items().size() == 1; }))
        << "the item registers with the watcher";
    ASSERT_TRUE(PumpUntil([] { return !XEmbedEntryShown(); }));
  }

  std::unique_ptr<StandInWatcher> watcher_;
};

TEST_F(StatusNotifier, TheItemShowsTheWindowsTitleIconAndTipInsteadOfTheXEmbedEntry) {
  GtkWidget* window = gtk::FindLoadedWindow(names::kMainWindow)->window();
  GVariant* title = watcher_->ItemProperty("Title");
  ASSERT_TRUE(title);
  EXPECT_STREQ(g_variant_get_string(title, nullptr), gtk_window_get_title(GTK_WINDOW(window)));
  g_variant_unref(title);

  GVariant* tip = watcher_->ItemProperty("ToolTip");
  ASSERT_TRUE(tip);
  const char* tipTitle = nullptr;
  g_variant_get(tip, "(&s@a(iiay)&s&s)", nullptr, nullptr, &tipTitle, nullptr);
  EXPECT_EQ(tipTitle, Utf8("Kesto应用平台V1.1"));
  g_variant_unref(tip);

  // The window's icon, as ARGB in network byte order.
  GVariant* pixmap = watcher_->ItemProperty("IconPixmap");
  ASSERT_TRUE(pixmap);
  ASSERT_EQ(g_variant_n_children(pixmap), 1u);
  gint32 width = 0, height = 0;
  GVariant* argb = nullptr;
  g_variant_get_child(pixmap, 0, "(ii@ay)", &width, &height, &argb);
  gsize size = 0;
  const auto* bytes = static_cast<const guint8*>(g_variant_get_fixed_array(argb, &size, 1));
  GdkPixbuf* icon = gdk_pixbuf_add_alpha(
      gtk::IconPixbuf(ui::GetBytes(kMain, ui::prop::window::kIcon), 32), FALSE, 0, 0, 0);
  ASSERT_EQ(width, gdk_pixbuf_get_width(icon));
  ASSERT_EQ(height, gdk_pixbuf_get_height(icon));
  ASSERT_EQ(size, gsize(width) * height * 4);
  int differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const guint8* rgba =
          gdk_pixbuf_read_pixels(icon) + y * gdk_pixbuf_get_rowstride(icon) + x * 4;
      const guint8* shown = bytes + (y * width + x) * 4;
      differing +=
          shown[0] != rgba[3] || shown[1] != rgba[0] || shown[2] != rgba[1] || shown[3] != rgba[2];
    }
  }
  EXPECT_EQ(differing, 0);
  g_object_unref(icon);
  g_variant_unref(argb);
  g_variant_unref(pixmap);

  EXPECT_TRUE(ui::TrayAvailable()) << "the host counts as a notification area";
}

TEST_F(StatusNotifier, ActivationRestoresTheHiddenWindowAndTheMenusExitItemIsChosen) {
  HideToTray({});
  ASSERT_TRUE(PumpUntil([&] { return !IsMapped(handle_); })) << "hidden, not minimised";
  GVariant* none = watcher_->Call("/StatusNotifierItem", kItemInterface, "Activate",
                                  g_variant_new("(ii)", 0, 0));
  ASSERT_TRUE(none);
  g_variant_unref(none);
  EXPECT_TRUE(PumpUntil([&] { return IsMapped(handle_); }));
  EXPECT_EQ(TrayCodes(), std::vector<int>{1});

  // The host draws the menu from its layout and reports the click.
  GVariant* menuPath = watcher_->ItemProperty("Menu");
  ASSERT_TRUE(menuPath);
  const std::string path = g_variant_get_string(menuPath, nullptr);
  g_variant_unref(menuPath);
  GVariant* layout = watcher_->Call(path.c_str(), kMenuInterface, "GetLayout",
                                    g_variant_new("(iias)", 0, -1, nullptr));
  ASSERT_TRUE(layout);
  GVariantIter* children = nullptr;
  g_variant_get(layout, "(u(ia{sv}av))", nullptr, nullptr, nullptr, &children);
  std::vector<std::pair<gint32, std::string>> items;
  GVariant* child = nullptr;
  while (g_variant_iter_next(children, "v", &child)) {
    gint32 id = 0;
    const char* label = "";
    GVariant* properties = nullptr;
    g_variant_get(child, "(i@a{sv}av)", &id, &properties, nullptr);
    g_variant_lookup(properties, "label", "&s", &label);
    items.emplace_back(id, label);
    g_variant_unref(properties);
    g_variant_unref(child);
  }
  g_variant_iter_free(children);
  g_variant_unref(layout);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].second, Utf8(names::kExitMenuItem));

  none = watcher_->Call(
      path.c_str(), kMenuInterface, "Event",
      g_variant_new("(isvu)", items[0].first, "clicked", g_variant_new_int32(0), 0u));
  ASSERT_TRUE(none);
  g_variant_unref(none);
  EXPECT_TRUE(PumpUntil([] { return CountReached(names::kOnExitChosen) == 1; }));
}

// As a desktop's shell restarting: the XEmbed entry while the watcher is away, the item again
// once a watcher is back.
TEST_F(StatusNotifier, TheItemComesBackWithTheWatcherAndTheXEmbedEntryStandsInMeanwhile) {
  watcher_.reset();
  EXPECT_TRUE(PumpUntil([] { return XEmbedEntryShown() && XEmbedEntryEmbedded(); }))
      << "the entry is in trayer's notification area";
  EXPECT_TRUE(ui::TrayAvailable());
  watcher_ = std::make_unique<StandInWatcher>(bus->address());
  EXPECT_TRUE(PumpUntil([&] { return watcher_->items().size() == 1; }));
  EXPECT_TRUE(PumpUntil([] { return !XEmbedEntryShown(); }));
  GVariant* title = watcher_->ItemProperty("Title");
  EXPECT_TRUE(title) << "the new watcher's host reaches the item";
  if (title) g_variant_unref(title);
}

// A watcher whose host is away draws nothing: the XEmbed entry stays until a host comes and is
// back when it goes; with no XEmbed area either, hiding the window only minimises it. Last in
// the suite: the XEmbed area does not come back.
TEST_F(StatusNotifier, TheItemCountsOnlyWhileTheWatcherHasAHost) {
  watcher_.reset();
  ASSERT_TRUE(PumpUntil([] { return XEmbedEntryShown(); }));
  watcher_ = std::make_unique<StandInWatcher>(bus->address(), false);
  ASSERT_TRUE(PumpUntil([&] { return watcher_->items().size() == 1; }));
  Pump(500);
  EXPECT_TRUE(XEmbedEntryShown()) << "the item counted as shown with no host to draw it";
  watcher_->SetHost(true);
  EXPECT_TRUE(PumpUntil([] { return !XEmbedEntryShown(); }));
  watcher_->SetHost(false);
  EXPECT_TRUE(PumpUntil([] { return XEmbedEntryShown(); }));

  CurrentXSession()->StopTray();
  EXPECT_FALSE(ui::TrayAvailable());
  HideToTray({});
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(handle_); })) << "hidden with nothing to click";
  watcher_->SetHost(true);
  EXPECT_TRUE(PumpUntil([] { return ui::TrayAvailable(); }));
}

}  // namespace
}  // namespace kesto::testing
