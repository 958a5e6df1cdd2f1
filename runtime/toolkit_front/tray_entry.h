// The notification-area entry's rules: what a toolkit shows of the icon and the tip, and the
// notifications its clicks give the window.
#pragma once

#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

// The window's tray notification codes.
enum TrayCode : int { kTrayLeftUp = 1, kTrayLeftDouble = 2, kTrayRightUp = 3 };

// Runs the window's tray notification handler; gives its result.
ui::EventResult NotifyTray(LoadedWindow& window, TrayCode code);

}  // namespace kesto::front
