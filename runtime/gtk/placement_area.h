// An area that places its controls at fixed positions and sizes. Unlike a bare GtkFixed it
// asks for no room of its own, so a control reaching beyond its container (as several in the
// layouts do) neither widens the container nor the window; with a window of its own it clips
// such controls at its edges.
#pragma once

#include <gtk/gtk.h>

namespace kesto::gtk {

GtkWidget* NewPlacementArea(bool clips);

}  // namespace kesto::gtk
