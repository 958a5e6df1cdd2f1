// The GTK controls: their makers are the front's; this adds what they share among themselves.
#pragma once

#include "runtime/gtk/loaded_windows.h"
#include "runtime/toolkit_front/controls.h"

namespace kesto::gtk {

// Lets a press of the left button on the widget drag a borderless window.
void DragWindowFrom(GtkWidget* widget, LoadedWindow& window);

}  // namespace kesto::gtk
