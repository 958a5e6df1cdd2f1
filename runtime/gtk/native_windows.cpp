// Native window operations on any top-level X11 window, ours or another program's. With a
// window manager present, state changes are asked of it the way the X11 conventions
// (ICCCM, EWMH) prescribe; our own windows are shown and hidden through GTK so that GTK's idea
// of them stays true. Whether a window is there and whose it is are asked without the toolkit
// (runtime/x11/).
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

#include <cstring>

#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/round_outline.h"
#include "runtime/gtk/ui_thread.h"
#include "runtime/gtk/x11_access.h"
#include "runtime/native.h"

namespace kesto::native {

namespace {

using gtk::XAtom;
using gtk::XDisplay;

constexpr unsigned long kIconicState = 3;
constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;
constexpr long kSourcePager =
    2;  // asks the window manager as a pager would: no focus-stealing rules

Window Xid(Handle window) {
  return static_cast<Window>(window);
}

bool Exists(Handle window) {
  if (!gtk::IsPlausibleXid(window) || !XDisplay()) return false;
  gtk::XErrorTrap trap;
  XWindowAttributes attributes;
  const Status status = XGetWindowAttributes(XDisplay(), Xid(window), &attributes);
  return !trap.Failed() && status != 0;
}

bool IsOnScreen(Handle window) {
  gtk::XErrorTrap trap;
  XWindowAttributes attributes;
  const Status status = XGetWindowAttributes(XDisplay(), Xid(window), &attributes);
  return !trap.Failed() && status != 0 && attributes.map_state == IsViewable;
}

// The first 32-bit value of a window's property of the given type; 0 when the window or the
// value is not there.
unsigned long ReadFirstValue(Window window, const char* property, Atom propertyType) {
  gtk::XErrorTrap trap;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(XDisplay(), window, XAtom(property), 0, 1, False,
                                        propertyType, &type, &format, &count, &after, &data);
  unsigned long value = 0;
  if (status == Success && data && count >= 1 && format == 32) {
    value = reinterpret_cast<unsigned long*>(data)[0];
  }
  if (data) XFree(data);
  trap.Failed();
  return value;
}

bool IsIconicNow(Handle window) {
  return ReadFirstValue(Xid(window), "WM_STATE", XAtom("WM_STATE")) == kIconicState;
}

bool WindowManagerSupports(const char* atom_name) {
  GdkScreen* screen = gdk_screen_get_default();
  return screen && gdk_x11_screen_supports_net_wm_hint(screen, gdk_atom_intern(atom_name, FALSE));
}

// A client message about `window`, sent to `destination` with the event mask given.
void SendClientMessage(Window destination, long mask, Handle window, const char* message, long l0,
                       long l1 = 0, long l2 = 0) {
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = Xid(window);
  event.xclient.message_type = XAtom(message);
  event.xclient.format = 32;
  event.xclient.data.l[0] = l0;
  event.xclient.data.l[1] = l1;
  event.xclient.data.l[2] = l2;
  gtk::XErrorTrap trap;
  XSendEvent(XDisplay(), destination, False, mask, &event);
  trap.Failed();
}

// A request to the window manager, as the X11 conventions address it: to the root window.
void SendToRoot(Handle window, const char* message, long l0, long l1 = 0, long l2 = 0) {
  SendClientMessage(gtk::XRootWindow(), SubstructureRedirectMask | SubstructureNotifyMask, window,
                    message, l0, l1, l2);
}

void Map(Handle window) {
  if (GtkWidget* own = gtk::OwnToplevel(window)) {
    gtk_widget_show(own);
    return;
  }
  gtk::XErrorTrap trap;
  XMapWindow(XDisplay(), Xid(window));
  trap.Failed();
}

void Withdraw(Handle window) {
  if (GtkWidget* own = gtk::OwnToplevel(window)) {
    gtk_widget_hide(own);
    return;
  }
  gtk::XErrorTrap trap;
  XWithdrawWindow(XDisplay(), Xid(window), DefaultScreen(XDisplay()));
  trap.Failed();
}

// Mapping an iconic window asks the window manager to bring it back to the normal state.
void MapIconic(Handle window) {
  gtk::XErrorTrap trap;
  XMapWindow(XDisplay(), Xid(window));
  trap.Failed();
}

void Deiconify(Handle window) {
  if (IsIconicNow(window)) MapIconic(window);
}

void Iconify(Handle window) {
  gtk::XErrorTrap trap;
  if (!IsOnScreen(window)) {
    // A window that is not on screen yet is shown straight into the iconic state.
    XWMHints* hints = XGetWMHints(XDisplay(), Xid(window));
    XWMHints fresh{};
    XWMHints* target = hints ? hints : &fresh;
    target->flags |= StateHint;
    target->initial_state = IconicState;
    XSetWMHints(XDisplay(), Xid(window), target);
    if (hints) XFree(hints);
    trap.Failed();
    Map(window);
    return;
  }
  XIconifyWindow(XDisplay(), Xid(window), DefaultScreen(XDisplay()));
  trap.Failed();
}

void SetMaximised(Handle window, bool maximised) {
  SendToRoot(window, "_NET_WM_STATE", maximised ? kNetWmStateAdd : kNetWmStateRemove,
             static_cast<long>(XAtom("_NET_WM_STATE_MAXIMIZED_VERT")),
             static_cast<long>(XAtom("_NET_WM_STATE_MAXIMIZED_HORZ")));
}

void ApplyShowCommand(Handle window, int command) {
  if (!Exists(window)) return;
  switch (command) {
    case kSwHide:
      Withdraw(window);
      break;
    case kSwShowNormal:
    case kSwRestore:
      // A minimised window comes back in the state it had; any other leaves the maximised state.
      Map(window);
      if (IsIconicNow(window)) {
        MapIconic(window);
      } else {
        SetMaximised(window, false);
      }
      break;
    case kSwShowMinimized:
    case kSwMinimize:
      Iconify(window);
      break;
    case kSwMaximize:
      Map(window);
      Deiconify(window);
      SetMaximised(window, true);
      break;
    default:  // kSwShow, kSwShowNoActivate and the rest: on screen in the state it has
      Map(window);
      break;
  }
  XFlush(XDisplay());
}

// The window the window manager calls active; 0 when it names none.
Handle ActiveWindow() {
  return Handle(ReadFirstValue(gtk::XRootWindow(), "_NET_ACTIVE_WINDOW", XA_WINDOW));
}

// Under load an activation now and then does not take (once in some forty runs of the GUI
// tests under openbox), and the seller's double-click would leave the running tool behind. So
// the activation is looked at again a few times and asked once more while nothing else has
// become active meanwhile: a window the seller or another program has brought up since stays in
// front.
struct PendingActivation {
  Handle window;
  Handle activeBefore;
  int looksLeft;
};

constexpr guint kActivationLookMs = 300;
constexpr int kActivationLooks = 4;

gboolean LookAtActivation(gpointer data) {
  PendingActivation* pending = static_cast<PendingActivation*>(data);
  const Handle active = ActiveWindow();
  const bool settled = active == pending->window || active != pending->activeBefore ||
                       !Exists(pending->window) || !IsOnScreen(pending->window);
  if (settled || --pending->looksLeft == 0) {
    delete pending;
    return G_SOURCE_REMOVE;
  }
  SendToRoot(pending->window, "_NET_ACTIVE_WINDOW", kSourcePager, CurrentTime);
  XFlush(XDisplay());
  return G_SOURCE_CONTINUE;
}

void Activate(Handle window) {
  if (!Exists(window)) return;
  if (WindowManagerSupports("_NET_ACTIVE_WINDOW")) {
    const Handle activeBefore = ActiveWindow();
    SendToRoot(window, "_NET_ACTIVE_WINDOW", kSourcePager, CurrentTime);
    if (activeBefore != window) {
      g_timeout_add(kActivationLookMs, LookAtActivation,
                    new PendingActivation{window, activeBefore, kActivationLooks});
    }
  } else if (IsOnScreen(window)) {
    gtk::XErrorTrap trap;
    XRaiseWindow(XDisplay(), Xid(window));
    XSetInputFocus(XDisplay(), Xid(window), RevertToParent, CurrentTime);
    trap.Failed();
  }
  XFlush(XDisplay());
}

void Raise(Handle window) {
  if (!Exists(window)) return;
  gtk::XErrorTrap trap;
  XRaiseWindow(XDisplay(), Xid(window));
  trap.Failed();
  XFlush(XDisplay());
}

bool ReadRect(Handle window, Rect& rect) {
  if (!Exists(window)) return false;
  gtk::XErrorTrap trap;
  XWindowAttributes attributes;
  int x = 0, y = 0;
  Window child = None;
  const bool ok =
      XGetWindowAttributes(XDisplay(), Xid(window), &attributes) != 0 &&
      XTranslateCoordinates(XDisplay(), Xid(window), gtk::XRootWindow(), 0, 0, &x, &y, &child) != 0;
  if (trap.Failed() || !ok) return false;
  int width = attributes.width, height = attributes.height;
  // Our own windows report the size last asked for: the X server learns of it only when GTK
  // next lays the window out, and the program reads it straight after writing it.
  if (std::shared_ptr<gtk::LoadedWindow> own = gtk::FindLoadedWindow(window)) {
    width = own->clientWidth;
    height = own->clientHeight;
  }
  rect = {x, y, x + width, y + height};
  return true;
}

void Shape(Handle window, int width, int height, int radius) {
  if (!Exists(window) || width <= 0 || height <= 0) return;
  cairo_region_t* region = cairo_region_create();
  for (const gtk::RowSpan& span : gtk::RoundRectSpans(width, height, radius)) {
    const cairo_rectangle_int_t row{span.left, span.y, span.right - span.left, 1};
    cairo_region_union_rectangle(region, &row);
  }
  GdkWindow* target = nullptr;
  if (GtkWidget* own = gtk::OwnToplevel(window)) {
    target = GDK_WINDOW(g_object_ref(gtk_widget_get_window(own)));
  } else {
    gtk::XErrorTrap trap;
    target = gdk_x11_window_foreign_new_for_display(gdk_display_get_default(), Xid(window));
    trap.Failed();
  }
  if (target) {
    gdk_window_shape_combine_region(target, region, 0, 0);
    g_object_unref(target);
  }
  cairo_region_destroy(region);
  XFlush(XDisplay());
}

// A close request: WM_DELETE_WINDOW where the window takes it, otherwise the window manager is
// asked to close the window its own way.
void RequestClose(Handle window) {
  if (!Exists(window)) return;
  Atom* protocols = nullptr;
  int count = 0;
  bool takes_delete = false;
  {
    gtk::XErrorTrap trap;
    if (XGetWMProtocols(XDisplay(), Xid(window), &protocols, &count)) {
      for (int i = 0; i < count; ++i) takes_delete |= protocols[i] == XAtom("WM_DELETE_WINDOW");
      XFree(protocols);
    }
    trap.Failed();
  }
  if (!takes_delete) {
    SendToRoot(window, "_NET_CLOSE_WINDOW", CurrentTime, kSourcePager);
    XFlush(XDisplay());
    return;
  }
  SendClientMessage(Xid(window), NoEventMask, window, "WM_PROTOCOLS",
                    static_cast<long>(XAtom("WM_DELETE_WINDOW")), CurrentTime);
  XFlush(XDisplay());
}

}  // namespace

// A minimised window counts as shown, as on Windows; X11 unmaps it.
bool IsWindowVisible(Handle window) {
  bool shown = false;
  gtk::RunOnUiThread(
      [&] { shown = Exists(window) && (IsOnScreen(window) || IsIconicNow(window)); });
  return shown;
}

bool IsIconic(Handle window) {
  bool iconic = false;
  gtk::RunOnUiThread([&] { iconic = Exists(window) && IsIconicNow(window); });
  return iconic;
}

void ShowWindowAsync(Handle window, int showCommand) {
  ShowWindow(window, showCommand);
}

void OpenIcon(Handle window) {
  gtk::RunOnUiThread([&] {
    if (!Exists(window)) return;
    Deiconify(window);
    XFlush(XDisplay());
  });
}

void SetForegroundWindow(Handle window) {
  gtk::RunOnUiThread([&] { Activate(window); });
}

void ShowWindow(Handle window, int showCommand) {
  gtk::RunOnUiThread([&] { ApplyShowCommand(window, showCommand); });
}

void BringWindowToTop(Handle window) {
  gtk::RunOnUiThread([&] { Raise(window); });
}

bool GetWindowRect(Handle window, Rect& rect) {
  bool ok = false;
  gtk::RunOnUiThread([&] { ok = ReadRect(window, rect); });
  return ok;
}

void SetRoundWindowOutline(Handle window, int width, int height, int radius) {
  gtk::RunOnUiThread([&] { Shape(window, width, height, radius); });
}

void PostMessage(Handle window, unsigned message, std::intptr_t, std::intptr_t) {
  if (message != kWmClose) return;
  // Sent at once on the user-interface thread: the request itself is asynchronous for the
  // receiver, and a request left in our queue would be lost when the program ends right after
  // posting (the confirmed exit). Another thread hands it over without waiting, so that it can
  // never block on a user-interface thread that waits for it.
  if (gtk::IsUiThread()) {
    RequestClose(window);
  } else {
    gtk::PostToUiThread([window] { RequestClose(window); });
  }
}

}  // namespace kesto::native
