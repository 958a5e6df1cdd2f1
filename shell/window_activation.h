// Reaching another program's main window through the handle it recorded in qmztx.ini.
#pragma once

#include "runtime/native.h"

namespace kesto::shell {

// True when the handle names an existing window; 0 never does.
bool IsLiveWindow(native::Handle window);

// Shows a hidden and restores a minimised live window, in its size, and raises it; a dead
// handle is left alone.
void ActivateWindow(native::Handle window, bool bringToTop = true);

}  // namespace kesto::shell
