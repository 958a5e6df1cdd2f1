// Native handles and keyboard focus of windows and controls.
#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::ui {

// 0 for a window that is not loaded or a control it does not have.
std::intptr_t NativeHandle(const Ref& ref) {
  std::intptr_t handle = 0;
  front::RunOnUiThread([&] {
    std::shared_ptr<front::LoadedWindow> window = front::FindLoadedWindow(ref.window);
    if (!window) return;
    if (ref.control.empty()) {
      handle = front::WindowHandle(*window);
    } else if (front::Control* control = window->FindControl(ref.control)) {
      handle = front::ControlHandle(*control);
    }
  });
  return handle;
}

void FocusControl(const Ref& ref) {
  front::RunOnUiThread([&] { front::GiveFocus(front::ControlOrFail(ref)); });
}

}  // namespace kesto::ui
