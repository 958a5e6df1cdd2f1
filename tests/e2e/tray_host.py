#!/usr/bin/python3
"""A stand-in for a desktop's StatusNotifier tray host, on the session bus the environment
names: owns the watcher's name, says "registered SERVICE" for each item that registers, and
acts on the last one as a user would through the host, one command a line on its input:

    activate          a primary activation (a left click on the icon)
    choose LABEL      the menu item with that label, clicked in the host's menu

Each command is answered with "done" or "error ...". Needs GLib's GObject bindings (Debian's
python3-gi), hence the system's Python.
"""

import sys

from gi.repository import Gio, GLib

WATCHER = """<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg direction="in" type="s"/></method>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
</interface></node>"""

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
items = []


def say(line):
    print(line, flush=True)


def on_call(connection, sender, path, interface, method, args, invocation):
    service = args.unpack()[0]
    items.append((sender, service) if service.startswith("/") else (service, "/StatusNotifierItem"))
    invocation.return_value(None)
    say(f"registered {items[-1][0]}")


def on_get(*_):
    return GLib.Variant("b", True)


def call(name, path, interface, method, args):
    return bus.call_sync(name, path, interface, method, args, None, Gio.DBusCallFlags.NONE,
                         5000, None)


def choose(label):
    name, path = items[-1]
    menu = call(name, path, "org.freedesktop.DBus.Properties", "Get",
                GLib.Variant("(ss)", ("org.kde.StatusNotifierItem", "Menu"))).unpack()[0]
    _, (_, _, children) = call(name, menu, "com.canonical.dbusmenu", "GetLayout",
                               GLib.Variant("(iias)", (0, -1, []))).unpack()
    for item_id, properties, _ in children:
        if properties.get("label") == label:
            call(name, menu, "com.canonical.dbusmenu", "Event",
                 GLib.Variant("(isvu)", (item_id, "clicked", GLib.Variant("i", 0), 0)))
            return
    raise LookupError(f"no item {label!r} in {[c[1].get('label') for c in children]}")


def on_input(channel, condition):
    line = sys.stdin.readline()
    if not line:
        loop.quit()
        return False
    command, _, argument = line.strip().partition(" ")
    try:
        if not items:
            raise LookupError("no item has registered")
        if command == "activate":
            call(*items[-1], "org.kde.StatusNotifierItem", "Activate", GLib.Variant("(ii)", (0, 0)))
        else:
            choose(argument)
        say("done")
    except Exception as error:  # noqa: BLE001 - every failure goes back to the test
        say(f"error {error}")
    return True


node = Gio.DBusNodeInfo.new_for_xml(WATCHER)
bus.register_object("/StatusNotifierWatcher", node.interfaces[0], on_call, on_get, None)
Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher", Gio.BusNameOwnerFlags.NONE,
                               lambda *_: say("watching"), lambda *_: say("error name lost"))
loop = GLib.MainLoop()
GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.PRIORITY_DEFAULT,
                  GLib.IOCondition.IN | GLib.IOCondition.HUP, on_input)
loop.run()
