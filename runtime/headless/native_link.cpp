// Loaded windows and their controls are windows of the fake-window table, so that native
// operations on their handles act as on any other window: a posted WM_CLOSE closes the loaded
// window, a show command shows, hides, minimises or restores it, and its position and size
// follow its properties.
#include "runtime/headless/controls_state.h"
#include "runtime/headless/frame.h"
#include "runtime/headless/native_windows.h"

namespace kesto::headless::detail {

namespace {
native::Rect RectOf(Window& w) {
  auto& p = w.self.properties;
  int left = ui::IntOf(p[ui::prop::kLeft]), top = ui::IntOf(p[ui::prop::kTop]);
  return {left, top, left + ui::IntOf(p[ui::prop::kWidth]), top + ui::IntOf(p[ui::prop::kHeight])};
}

// A show command given to the window's native handle, as the window takes it.
void FollowShowCommand(const Text& name, std::uint64_t serial, int command) {
  std::lock_guard<std::mutex> guard(State().lock);
  Window* w = FindWindow(name);
  if (!w || w->serial != serial) return;
  bool visible = false;
  ApplyShowCommand(visible, w->minimised, w->maximised, command);
  w->self.properties[ui::prop::kVisible] = visible;
  if (visible) w->pendingState.reset();
}
}  // namespace

native::Handle CreateNativeWindow(const Text& name, Window& w) {
  FakeWindowOptions options;
  options.title = w.layout->title;
  options.rect = RectOf(w);
  options.visible = ui::BoolOf(w.self.properties[ui::prop::kVisible]);
  options.processId = CurrentProcessId();
  std::uint64_t serial = w.serial;
  options.onClose = [name, serial] { PostClose(name, serial); };
  options.onShow = [name, serial](int command) { FollowShowCommand(name, serial, command); };
  return CreateFakeWindow(std::move(options));
}

native::Handle CreateNativeControl(const Text& name) {
  return CreateFakeWindow({.title = name, .processId = CurrentProcessId()});
}

void DropNativeWindow(native::Handle handle) {
  DestroyFakeWindow(handle);
}

void SyncNativeWindow(const Text& name) {
  native::Handle handle;
  native::Rect rect;
  bool visible, minimised, maximised;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    Window* w = FindWindow(name);
    if (!w || !w->self.handle) return;
    handle = w->self.handle;
    rect = RectOf(*w);
    visible = ui::BoolOf(w->self.properties[ui::prop::kVisible]);
    minimised = w->minimised;
    maximised = w->maximised;
  }
  UpdateFakeWindow(handle, [&](FakeWindowState& state) {
    state.rect = rect;
    state.visible = visible;
    state.minimised = minimised;
    state.maximised = maximised;
  });
}

}  // namespace kesto::headless::detail
