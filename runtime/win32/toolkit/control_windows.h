// The window classes and message routing shared by every control: the toolkit's own drawn
// control class, the subclassing of system controls, and the notifications a parent hands
// back to the child control that sent them.
#pragma once

#include <windows.h>

namespace kesto::win32 {

class Control;

// The class name of the toolkit's drawn controls (picture buttons and boxes, labels, links,
// page areas); registered on first use.
const wchar_t* DrawnControlClass();

// Makes `control` answer the messages of `hwnd`: a window of the drawn class directly, a system
// control through a subclass.
void AttachControl(HWND hwnd, Control* control);

// For a window procedure: hands a child's notification to the child control that sent it;
// `handled` says whether one took it.
LRESULT ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

// The key state of the event arguments: 1 Ctrl, 2 Shift, 4 Alt.
int CurrentKeyState();

}  // namespace kesto::win32
