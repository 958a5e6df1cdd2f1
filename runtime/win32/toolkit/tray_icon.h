// The notification-area entry of a loaded window (Shell_NotifyIcon).
#pragma once

#include <windows.h>

#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::win32 {

// Removes the window's entry, if it has one, and destroys its icon.
void RemoveTrayEntry(LoadedWindow& window);

// For the window procedure: turns the entry's callback message into the window's tray
// notification and puts the entry back when the notification area comes back (Explorer
// restarted). True when the message was one of those.
bool HandleTrayMessage(LoadedWindow& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kesto::win32
