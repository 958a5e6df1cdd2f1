#include "tests/runtime/gtk/gui_windows.h"

#include <vector>

#include "runtime/layout.h"
#include "tests/runtime/gtk/gui_support.h"

namespace kesto::testing {

native::Handle LoadAndShow(const char* window) {
  if (!ui::LoadWindow(window)) return 0;
  const native::Handle handle = ui::NativeHandle({window, ""});
  PumpUntil([&] { return IsMapped(handle); }, 30000);
  WaitUntilPlaced(window);
  return handle;
}

void WaitUntilPlaced(const char* window) {
  // The window manager may move a mapped window once more.
  WaitUntilSteady([&] {
    const native::Rect rect = WindowRect(window);
    return std::vector<int>{rect.left, rect.top, rect.right, rect.bottom};
  });
}

Point ScreenPoint(const char* window, const char* control, int x, int y) {
  const ui::WindowLayout* layout = ui::FindWindowLayout(window);
  Text name = control;
  while (layout && !name.empty()) {
    const ui::ControlLayout* found = nullptr;
    for (const ui::ControlLayout& c : layout->controls) {
      if (c.name == name) found = &c;
    }
    if (!found) break;
    x += found->left;
    y += found->top;
    name = found->container;
  }
  const native::Rect rect = WindowRect(window);
  return {rect.left + x, rect.top + y};
}

}  // namespace kesto::testing
