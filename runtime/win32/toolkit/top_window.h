// The window class of the loaded windows: background, dragging a borderless window by its
// background, the close box, the notification-area messages, the end of the session.
#pragma once

#include <windows.h>

namespace kesto::win32 {

// Registered on first use.
const wchar_t* TopWindowClass();

}  // namespace kesto::win32
