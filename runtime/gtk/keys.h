// Keys and modifier states in the numbering the program's events use (Windows virtual keys;
// 1 Ctrl, 2 Shift, 4 Alt).
#pragma once

#include <gdk/gdk.h>

namespace kesto::gtk {

int KeyStateOf(guint modifiers);
// 0 for a key with no virtual-key code.
int VirtualKeyOf(guint keyval);

}  // namespace kesto::gtk
