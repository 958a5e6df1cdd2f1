// The window's own properties: place and size, visibility with the window state, title and
// icon. The window state is kept while the window is hidden and applied when it shows.
#pragma once

#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::win32 {

ui::Value ReadWindowProperty(LoadedWindow& window, int index);
void WriteWindowProperty(LoadedWindow& window, int index, const ui::Value& value);

// Moves the window, without resizing or activating it, to the middle of its screen.
void CentreOnScreen(HWND hwnd);

// Gives the window the icon file's big and small icons; the first icon any window got is the
// one windows without their own show.
void SetWindowIcon(LoadedWindow& window, const Bytes& iconFile);

}  // namespace kesto::win32
