// What the window loading also asks of the window's native side: icons.
#pragma once

#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::win32 {

// Gives the window the icon file's big and small icons; the first icon any window got is the
// one windows without their own show.
void SetWindowIcon(LoadedWindow& window, const Bytes& iconFile);

}  // namespace kesto::win32
