#include "tests/gui/gui_windows.h"

#include "runtime/layout.h"
#include "tests/gui/gui_support.h"

namespace kesto::testing {

namespace {

// Handlers are plain functions: one recorder per bound name, told apart by a template index.
std::vector<std::string>& RecorderNames() {
  static std::vector<std::string> names;
  return names;
}

template <int N>
ui::EventResult Recorder(const ui::EventArgs& args) {
  ReachedHandlers().push_back({RecorderNames()[N], args});
  return {};
}

ui::Handler RecorderFor(int slot) {
  static constexpr ui::Handler recorders[] = {Recorder<0>, Recorder<1>, Recorder<2>,  Recorder<3>,
                                              Recorder<4>, Recorder<5>, Recorder<6>,  Recorder<7>,
                                              Recorder<8>, Recorder<9>, Recorder<10>, Recorder<11>};
  return slot < int(std::size(recorders)) ? recorders[slot] : nullptr;
}

}  // namespace

std::vector<Reached>& ReachedHandlers() {
  static std::vector<Reached> reached;
  return reached;
}

int CountReached(const std::string& handler) {
  int count = 0;
  for (const Reached& r : ReachedHandlers()) count += r.handler == handler;
  return count;
}

void RecordUnder(const char* handlerName) {
  const int slot = static_cast<int>(RecorderNames().size());
  RecorderNames().push_back(handlerName);
  ui::RegisterHandler(handlerName, RecorderFor(slot));
}

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
