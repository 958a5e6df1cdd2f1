#include "runtime/headless/loaded_windows.h"

#include "runtime/headless/native_windows.h"

namespace kesto::headless::detail {

// ---- Control ----

Control::Control(front::LoadedWindow& owner, const ui::ControlLayout& layout)
    : front::Control(owner, layout),
      place_(layout),
      visible_(layout.visible),
      disabled_(layout.disabled) {}

ui::Value Control::ReadNative(int index) const {
  if (std::optional<int> place = place_.Read(index)) return *place;
  return index == ui::prop::kVisible ? visible_ : disabled_;
}

void Control::WriteNative(int index, const ui::Value& value) {
  if (place_.Write(index, ui::IntOf(value))) return;
  (index == ui::prop::kVisible ? visible_ : disabled_) = ui::BoolOf(value);
}

// ---- Window ----

Window::Window(const ui::WindowLayout& layout)
    : front::LoadedWindow(layout),
      title(layout.title),
      left(layout.centred ? (kScreenWidth - layout.width) / 2 : layout.left),
      top(layout.centred ? (kScreenHeight - layout.height) / 2 : layout.top),
      width(layout.width),
      height(layout.height) {}

void Window::RemoveTrayEntry() {
  Toolkit& toolkit = State();
  if (toolkit.trayOwner.lock().get() != this) return;
  toolkit.tray.reset();
  toolkit.trayOwner.reset();
}

void Window::DestroyNative() {
  // The focus goes with the window, unless it is in a window loaded anew under the name.
  Toolkit& toolkit = State();
  const std::shared_ptr<Window> current = FindWindow(layout().name);
  if (toolkit.focused && toolkit.focused->window == layout().name &&
      (!current || current.get() == this)) {
    toolkit.focused.reset();
  }
  for (const auto& control : controls()) {
    auto& own = static_cast<Control&>(*control);
    if (own.handle) DestroyFakeWindow(own.handle);
    own.handle = 0;
  }
  DestroyFakeWindow(handle);
  handle = 0;
}

void Window::Sync() const {
  UpdateFakeWindow(handle, [&](FakeWindowState& state) {
    state.rect = {left, top, left + width, top + height};
    state.visible = visible;
    state.minimised = minimised;
    state.maximised = maximised;
  });
}

std::shared_ptr<Window> FindWindow(const Text& name) {
  return std::static_pointer_cast<Window>(front::FindLoadedWindow(name));
}

Toolkit& State() {
  static Toolkit toolkit;
  return toolkit;
}

}  // namespace kesto::headless::detail
