#include "runtime/gtk/x11_access.h"

#include <gdk/gdkx.h>

namespace kesto::gtk {

Display* XDisplay() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display || !GDK_IS_X11_DISPLAY(display)) return nullptr;
  return GDK_DISPLAY_XDISPLAY(display);
}

Window XRootWindow() {
  Display* display = XDisplay();
  return display ? DefaultRootWindow(display) : None;
}

Atom XAtom(const char* name) {
  return gdk_x11_get_xatom_by_name_for_display(gdk_display_get_default(), name);
}

XErrorTrap::XErrorTrap() {
  gdk_x11_display_error_trap_push(gdk_display_get_default());
}

XErrorTrap::~XErrorTrap() {
  if (!popped_) gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default());
}

bool XErrorTrap::Failed() {
  if (popped_) return false;
  popped_ = true;
  return gdk_x11_display_error_trap_pop(gdk_display_get_default()) != 0;
}

native::Handle XidOf(GtkWidget* toplevel) {
  if (!toplevel) return 0;
  GdkWindow* window = gtk_widget_get_window(toplevel);
  if (!window || !GDK_IS_X11_WINDOW(window)) return 0;
  return static_cast<native::Handle>(gdk_x11_window_get_xid(window));
}

GtkWidget* OwnToplevel(native::Handle window) {
  if (!IsPlausibleXid(window) || !XDisplay()) return nullptr;
  GdkWindow* gdk_window =
      gdk_x11_window_lookup_for_display(gdk_display_get_default(), static_cast<Window>(window));
  if (!gdk_window) return nullptr;
  gpointer widget = nullptr;
  gdk_window_get_user_data(gdk_window, &widget);
  return widget && GTK_IS_WINDOW(widget) ? GTK_WIDGET(widget) : nullptr;
}

bool IsPlausibleXid(native::Handle window) {
  return window > 0 && window < (1 << 29);
}

}  // namespace kesto::gtk
