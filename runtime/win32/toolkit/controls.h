// The Win32 controls: their makers are the front's; this adds what the message loop asks of them.
#pragma once

#include "runtime/toolkit_front/controls.h"
#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::win32 {

// Offers a key message to the browser control it is meant for, so that the page's own keys
// (Tab between fields, copy and paste) work; true when the control took it.
bool BrowserTookKey(MSG& message);

}  // namespace kesto::win32
