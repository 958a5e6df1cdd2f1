// Maps of our hidden windows that come from other programs.
#pragma once

#include "runtime/gtk/loaded_windows.h"

namespace kesto::gtk {

// Makes a map of the hidden window by another program (a second start bringing up a window
// hidden to the tray) a real show of the window.
void FollowOutsideMaps(LoadedWindow& window);

}  // namespace kesto::gtk
