// Placing a loaded window in the work area of its monitor: the screen less the taskbar and the
// bars docked to its edges. A seller's laptop at 1366 x 768, or a larger screen scaled to
// 150 %, has less room than the purchase window's 1024 x 800.
#pragma once

#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::win32 {

// Moves the window, without activating it, to the middle of its monitor's work area. A window
// with a caption that its layout makes larger than the area is made smaller to fit it, and the
// controls that the smaller client area would cut off shrink with it; any other window keeps
// its top left corner inside the area, so that its title bar can be reached.
void CentreInWorkArea(LoadedWindow& window);

}  // namespace kesto::win32
