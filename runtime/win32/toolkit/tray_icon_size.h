// The notification-area icon at the size the shell draws it.
#pragma once

#include <windows.h>

#include "runtime/core.h"

namespace kesto::win32 {

// The shell's small-icon size in real pixels: 16 at 100 %, 20 at 125 %, 24 at 150 %.
int TrayIconSize();

// The icon file's image made at that size; nullptr when there is none. Caller destroys.
HICON TrayIconOf(const Bytes& iconFile);

}  // namespace kesto::win32
