// native::IsWindow and native::WindowProcessId on XCB: its requests give errors back as values
// and it may be used from any thread, so the answers need neither the toolkit nor its
// user-interface thread. The toolkit's own windows are asked about the same way: the server,
// not the toolkit, knows which windows are there.
#include "runtime/x11/window_queries.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "runtime/native.h"

namespace kesto::x11 {

namespace {

struct Connection {
  xcb_connection_t* link = nullptr;
  xcb_atom_t pidAtom = XCB_ATOM_NONE;
};

// Opened at the first question and kept: a start asks a few questions in a row.
const Connection& Server() {
  static const Connection connection = [] {
    Connection made;
    made.link = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(made.link)) {
      xcb_disconnect(made.link);
      made.link = nullptr;
      return made;
    }
    const char name[] = "_NET_WM_PID";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        made.link, xcb_intern_atom(made.link, 1, std::strlen(name), name), nullptr);
    if (atom) made.pidAtom = atom->atom;
    std::free(atom);
    return made;
  }();
  return connection;
}

// X11 window ids are 29-bit; anything else cannot name a window.
bool IsPlausibleXid(native::Handle window) {
  return window > 0 && window < (1 << 29);
}

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};

}  // namespace

bool DisplayReachable() {
  return Server().link != nullptr;
}

}  // namespace kesto::x11

namespace kesto::native {

bool IsWindow(Handle window) {
  const x11::Connection& server = x11::Server();
  if (!server.link || !x11::IsPlausibleXid(window)) return false;
  const auto id = static_cast<xcb_window_t>(window);
  std::unique_ptr<xcb_get_window_attributes_reply_t, x11::FreeReply> reply(
      xcb_get_window_attributes_reply(server.link, xcb_get_window_attributes(server.link, id),
                                      nullptr));
  return reply != nullptr;
}

// The process id its client put on the window, as the X11 conventions (EWMH) ask every client
// to; 0 when the window is gone or carries none.
std::uint32_t WindowProcessId(Handle window) {
  const x11::Connection& server = x11::Server();
  if (!server.link || server.pidAtom == XCB_ATOM_NONE || !x11::IsPlausibleXid(window)) return 0;
  const auto id = static_cast<xcb_window_t>(window);
  std::unique_ptr<xcb_get_property_reply_t, x11::FreeReply> reply(xcb_get_property_reply(
      server.link, xcb_get_property(server.link, 0, id, server.pidAtom, XCB_ATOM_CARDINAL, 0, 1),
      nullptr));
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) return 0;
  std::uint32_t pid = 0;
  std::memcpy(&pid, xcb_get_property_value(reply.get()), sizeof pid);
  return pid;
}

}  // namespace kesto::native
