// A window's size as the layouts give it (the outer size, frame included) and its place on the
// screen.
#pragma once

#include "runtime/gtk/loaded_windows.h"

namespace kesto::gtk {

// Gives the window the outer size; the client area is that less the frame.
void SetOuterSize(LoadedWindow& window, int width, int height);
int OuterWidth(const LoadedWindow& window);
int OuterHeight(const LoadedWindow& window);

// Moves the window, keeping its size, to the centre of the screen it is on.
void CentreOnScreen(LoadedWindow& window);

}  // namespace kesto::gtk
