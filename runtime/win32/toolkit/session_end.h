// The session's questions to the loaded windows: may it end (no while a SessionEndHold lasts),
// and that it ends (the program ends as it does when its windows are closed).
#pragma once

#include <windows.h>

namespace kesto::win32 {

// For the window procedure: answers WM_QUERYENDSESSION and WM_ENDSESSION into `result`. True
// when the message was one of those.
bool HandleSessionEndMessage(HWND window, UINT message, WPARAM wParam, LRESULT& result);

}  // namespace kesto::win32
