// Native handles and keyboard focus of windows and controls.
#include "runtime/toolkit_front/back_end.h"
#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::front {

// A window's handle is its HWND, a control's the HWND of its own window.
std::intptr_t WindowHandle(LoadedWindow& window) {
  return reinterpret_cast<std::intptr_t>(static_cast<win32::LoadedWindow&>(window).hwnd());
}

std::intptr_t ControlHandle(Control& control) {
  return reinterpret_cast<std::intptr_t>(static_cast<win32::Control&>(control).hwnd());
}

void GiveFocus(Control& control) {
  SetFocus(static_cast<win32::Control&>(control).FocusTarget());
}

}  // namespace kesto::front
