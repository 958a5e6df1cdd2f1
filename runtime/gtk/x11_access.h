// The X11 side of GDK's display: the connection, atoms, and a trap for the errors that ids of
// windows that have gone away produce.
#pragma once

#include <X11/Xlib.h>
#include <gtk/gtk.h>

#include "runtime/native.h"

namespace kesto::gtk {

// GDK's X connection; nullptr before the toolkit has started.
Display* XDisplay();
Window XRootWindow();
Atom XAtom(const char* name);

// Swallows X errors raised while it lives; Failed() syncs and tells whether any came.
class XErrorTrap {
 public:
  XErrorTrap();
  ~XErrorTrap();
  bool Failed();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

 private:
  bool popped_ = false;
};

// The X11 id of a realised top-level GTK window, 0 otherwise.
native::Handle XidOf(GtkWidget* toplevel);

// The top-level GtkWindow of this process with that id, nullptr for any other window.
GtkWidget* OwnToplevel(native::Handle window);

// X11 window ids are 29-bit; anything else cannot name a window.
bool IsPlausibleXid(native::Handle window);

}  // namespace kesto::gtk
