// Native handles and keyboard focus of windows and controls.
#include "runtime/win32/toolkit/loaded_windows.h"
#include "runtime/win32/toolkit/ui_thread.h"

namespace kesto::ui {

// A window's handle is its HWND, a control's the HWND of its own window.
std::intptr_t NativeHandle(const Ref& ref) {
  std::intptr_t handle = 0;
  win32::RunOnUiThread([&] {
    std::shared_ptr<win32::LoadedWindow> window = win32::FindLoadedWindow(ref.window);
    if (!window) return;
    if (ref.control.empty()) {
      handle = reinterpret_cast<std::intptr_t>(window->hwnd());
    } else if (win32::Control* control = window->FindControl(ref.control)) {
      handle = reinterpret_cast<std::intptr_t>(control->hwnd());
    }
  });
  return handle;
}

void FocusControl(const Ref& ref) {
  win32::RunOnUiThread([&] { SetFocus(win32::ControlOrFail(ref).FocusTarget()); });
}

}  // namespace kesto::ui
