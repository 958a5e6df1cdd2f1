#include "runtime/gtk/dbus_menu.h"

#include <cstring>
#include <string>

#include "runtime/posix/native_text.h"

namespace kesto::gtk {

namespace {

constexpr char kInterface[] = R"xml(<node><interface name="com.canonical.dbusmenu">
  <method name="GetLayout"><arg direction="in" type="i"/><arg direction="in" type="i"/>
    <arg direction="in" type="as"/><arg direction="out" type="u"/>
    <arg direction="out" type="(ia{sv}av)"/></method>
  <method name="GetGroupProperties"><arg direction="in" type="ai"/><arg direction="in" type="as"/>
    <arg direction="out" type="a(ia{sv})"/></method>
  <method name="GetProperty"><arg direction="in" type="i"/><arg direction="in" type="s"/>
    <arg direction="out" type="v"/></method>
  <method name="Event"><arg direction="in" type="i"/><arg direction="in" type="s"/>
    <arg direction="in" type="v"/><arg direction="in" type="u"/></method>
  <method name="EventGroup"><arg direction="in" type="a(isvu)"/>
    <arg direction="out" type="ai"/></method>
  <method name="AboutToShow"><arg direction="in" type="i"/><arg direction="out" type="b"/></method>
  <method name="AboutToShowGroup"><arg direction="in" type="ai"/><arg direction="out" type="ai"/>
    <arg direction="out" type="ai"/></method>
  <signal name="ItemsPropertiesUpdated"><arg type="a(ia{sv})"/><arg type="a(ias)"/></signal>
  <signal name="LayoutUpdated"><arg type="u"/><arg type="i"/></signal>
  <signal name="ItemActivationRequested"><arg type="i"/><arg type="u"/></signal>
  <property name="Version" type="u" access="read"/>
  <property name="TextDirection" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="IconThemePath" type="as" access="read"/>
</interface></node>)xml";

// The items never change while the menu is offered.
constexpr guint32 kRevision = 1;

GDBusInterfaceInfo* Interface() {
  static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kInterface, nullptr);
  return node->interfaces[0];
}

}  // namespace

DBusMenu::DBusMenu(GDBusConnection* bus, const char* path, LoadedWindow& window,
                   ui::MenuLayout menu)
    : bus_(G_DBUS_CONNECTION(g_object_ref(bus))),
      window_(window.weak_from_this()),
      menu_(std::move(menu)) {
  // Ids in order of appearance, each item's children after it.
  auto number = [this](auto& self, const ui::MenuLayout& item) -> int {
    const int id = int(items_.size());
    items_.push_back(&item);
    children_.emplace_back();
    for (const ui::MenuLayout& child : item.children) {
      const int childId = self(self, child);
      children_[id].push_back(childId);
    }
    return id;
  };
  number(number, menu_);
  static const GDBusInterfaceVTable vtable{OnCall, OnGet, nullptr, {}};
  registration_ =
      g_dbus_connection_register_object(bus_, path, Interface(), &vtable, this, nullptr, nullptr);
}

DBusMenu::~DBusMenu() {
  if (registration_) g_dbus_connection_unregister_object(bus_, registration_);
  g_object_unref(bus_);
}

GVariant* DBusMenu::Properties(int id) const {
  GVariantBuilder properties;
  g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
  const ui::MenuLayout& item = *items_[id];
  if (id != 0) {
    g_variant_builder_add(&properties, "{sv}", "label",
                          g_variant_new_string(posix::GbkToUtf8(item.name).c_str()));
    g_variant_builder_add(&properties, "{sv}", "visible", g_variant_new_boolean(item.visible));
  }
  if (!item.children.empty()) {
    g_variant_builder_add(&properties, "{sv}", "children-display", g_variant_new_string("submenu"));
  }
  return g_variant_builder_end(&properties);
}

// One item as (id, properties, children), its children `depth` levels down (-1: all of them).
GVariant* DBusMenu::Node(int id, int depth) const {
  GVariantBuilder children;
  g_variant_builder_init(&children, G_VARIANT_TYPE("av"));
  if (depth != 0) {
    for (int child : children_[id]) {
      g_variant_builder_add(&children, "v", Node(child, depth < 0 ? depth : depth - 1));
    }
  }
  return g_variant_new("(i@a{sv}av)", id, Properties(id), &children);
}

void DBusMenu::Clicked(int id) {
  if (id <= 0 || id >= int(items_.size()) || !items_[id]->children.empty()) return;
  FireWhenIdle(window_, items_[id]->name, ui::Event::kMenuChosen);
}

void DBusMenu::OnCall(GDBusConnection*, const char*, const char*, const char*, const char* method,
                      GVariant* parameters, GDBusMethodInvocation* call, gpointer data) {
  DBusMenu& self = *static_cast<DBusMenu*>(data);
  const int count = int(self.items_.size());
  auto known = [count](int id) { return id >= 0 && id < count; };
  if (!std::strcmp(method, "GetLayout")) {
    gint32 parent = 0, depth = -1;
    g_variant_get(parameters, "(ii^a&s)", &parent, &depth, nullptr);
    if (!known(parent)) parent = 0;
    g_dbus_method_invocation_return_value(
        call, g_variant_new("(u@(ia{sv}av))", kRevision, self.Node(parent, depth)));
  } else if (!std::strcmp(method, "GetGroupProperties")) {
    GVariantIter* ids = nullptr;
    g_variant_get(parameters, "(ai^a&s)", &ids, nullptr);
    GVariantBuilder found;
    g_variant_builder_init(&found, G_VARIANT_TYPE("a(ia{sv})"));
    gint32 id = 0;
    while (g_variant_iter_next(ids, "i", &id)) {
      if (known(id)) g_variant_builder_add(&found, "(i@a{sv})", id, self.Properties(id));
    }
    g_variant_iter_free(ids);
    g_dbus_method_invocation_return_value(call, g_variant_new("(a(ia{sv}))", &found));
  } else if (!std::strcmp(method, "GetProperty")) {
    gint32 id = 0;
    const char* name = nullptr;
    g_variant_get(parameters, "(i&s)", &id, &name);
    GVariant* value = nullptr;
    if (known(id)) {
      GVariant* properties = g_variant_ref_sink(self.Properties(id));
      value = g_variant_lookup_value(properties, name, nullptr);
      g_variant_unref(properties);
    }
    if (value) {
      g_dbus_method_invocation_return_value(call, g_variant_new("(v)", value));
      g_variant_unref(value);
    } else {
      g_dbus_method_invocation_return_error(call, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                            "no such item or property");
    }
  } else if (!std::strcmp(method, "Event")) {
    gint32 id = 0;
    const char* event = nullptr;
    g_variant_get(parameters, "(i&svu)", &id, &event, nullptr, nullptr);
    if (!std::strcmp(event, "clicked")) self.Clicked(id);
    g_dbus_method_invocation_return_value(call, nullptr);
  } else if (!std::strcmp(method, "EventGroup")) {
    GVariantIter* events = nullptr;
    g_variant_get(parameters, "(a(isvu))", &events);
    GVariantBuilder unknown;
    g_variant_builder_init(&unknown, G_VARIANT_TYPE("ai"));
    gint32 id = 0;
    const char* event = nullptr;
    while (g_variant_iter_next(events, "(i&svu)", &id, &event, nullptr, nullptr)) {
      if (!known(id)) g_variant_builder_add(&unknown, "i", id);
      if (!std::strcmp(event, "clicked")) self.Clicked(id);
    }
    g_variant_iter_free(events);
    g_dbus_method_invocation_return_value(call, g_variant_new("(ai)", &unknown));
  } else if (!std::strcmp(method, "AboutToShow")) {
    g_dbus_method_invocation_return_value(call, g_variant_new("(b)", FALSE));
  } else {  // AboutToShowGroup: nothing is ever out of date
    g_dbus_method_invocation_return_value(call, g_variant_new("(aiai)", nullptr, nullptr));
  }
}

GVariant* DBusMenu::OnGet(GDBusConnection*, const char*, const char*, const char*,
                          const char* property, GError**, gpointer) {
  if (!std::strcmp(property, "Version")) return g_variant_new_uint32(3);
  if (!std::strcmp(property, "TextDirection")) return g_variant_new_string("ltr");
  if (!std::strcmp(property, "Status")) return g_variant_new_string("normal");
  return g_variant_new_strv(nullptr, 0);  // IconThemePath
}

}  // namespace kesto::gtk
