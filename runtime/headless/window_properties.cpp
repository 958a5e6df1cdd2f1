// The native side of a headless window's own properties: place and size, visibility with the
// window state, title; the screen is kScreenWidth by kScreenHeight.
#include "runtime/headless/loaded_windows.h"
#include "runtime/toolkit_front/back_end.h"

namespace kesto::front {

namespace {

using headless::detail::Window;

Window& Own(LoadedWindow& window) {
  return static_cast<Window&>(window);
}

// Restores the window and centres it, without resizing it.
void Centre(Window& window) {
  window.left = (headless::kScreenWidth - window.width) / 2;
  window.top = (headless::kScreenHeight - window.height) / 2;
}

void ApplyState(Window& window, int state) {
  switch (state) {
    case ui::kStateNormal:
    case ui::kStateCentred:
      window.minimised = window.maximised = false;
      if (state == ui::kStateCentred) Centre(window);
      break;
    case ui::kStateMinimised:
      window.minimised = true;
      window.maximised = false;
      break;
    case ui::kStateMaximised:
      window.minimised = false;
      window.maximised = true;
      break;
    default:
      break;
  }
}

// A window shown again comes up in its remembered state.
void SetVisible(Window& window, bool visible) {
  if (visible && !window.visible) ApplyState(window, window.windowState);
  window.visible = visible;
}

}  // namespace

std::optional<ui::Value> ReadNativeWindowProperty(LoadedWindow& loaded, int index) {
  Window& window = Own(loaded);
  switch (index) {
    case ui::prop::kLeft:
      return window.left;
    case ui::prop::kTop:
      return window.top;
    case ui::prop::kWidth:
      return window.width;
    case ui::prop::kHeight:
      return window.height;
    case ui::prop::kVisible:
      return window.visible;
    case ui::prop::kDisable:
      return window.disabled;
    case ui::prop::window::kTitle:
      return window.title;
  }
  return std::nullopt;
}

bool WriteNativeWindowProperty(LoadedWindow& loaded, int index, const ui::Value& value) {
  Window& window = Own(loaded);
  switch (index) {
    case ui::prop::kLeft:
      window.left = ui::IntOf(value);
      break;
    case ui::prop::kTop:
      window.top = ui::IntOf(value);
      break;
    case ui::prop::kWidth:
      window.width = ui::IntOf(value);
      break;
    case ui::prop::kHeight:
      window.height = ui::IntOf(value);
      break;
    case ui::prop::kVisible:
      SetVisible(window, ui::BoolOf(value));
      break;
    case ui::prop::kDisable:
      window.disabled = ui::BoolOf(value);
      break;
    case ui::prop::window::kTitle:
      window.title = ui::TextOf(value);
      break;
    default:
      return false;
  }
  window.Sync();
  return true;
}

bool WindowShown(LoadedWindow& window) {
  return Own(window).visible;
}

std::optional<int> MinimisedOrMaximised(LoadedWindow& window) {
  if (Own(window).minimised) return int(ui::kStateMinimised);
  if (Own(window).maximised) return int(ui::kStateMaximised);
  return std::nullopt;
}

void ApplyWindowState(LoadedWindow& window, int state) {
  ApplyState(Own(window), state);
  Own(window).Sync();
}

// Headless windows draw no icon; the front keeps it.
void ShowWindowIcon(LoadedWindow&, const Bytes&) {}

}  // namespace kesto::front
