// The window's notification-area entry.
#pragma once

#include "runtime/gtk/loaded_windows.h"

namespace kesto::gtk {

// The window's tray notification codes.
enum TrayCode : int { kTrayLeftUp = 1, kTrayLeftDouble = 2, kTrayRightUp = 3 };

void RemoveTrayEntry(LoadedWindow& window);

}  // namespace kesto::gtk
