// An area that places its controls at fixed positions and sizes. Unlike a bare GtkFixed it
// asks for no room of its own, so a control reaching beyond its container (as several in the
// layouts do) neither widens the container nor the window; it has a window of its own, which
// clips such controls at its edges.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>

namespace kesto::gtk {

GtkWidget* NewPlacementArea();
// A placement area that paints its background: in the colour given, or the theme's for
// ui::kDefaultColour.
GtkWidget* NewBackgroundArea(std::uint32_t backColour);

}  // namespace kesto::gtk
