// Native handles and focus, and what tests see of the windows.
#include "runtime/headless/frame.h"
#include "runtime/headless/loaded_windows.h"
#include "runtime/headless/native_windows.h"
#include "runtime/toolkit_front/back_end.h"

namespace kesto {

using headless::detail::FindWindow;
using headless::detail::State;

// A control's handle is made when first asked for.
std::intptr_t front::WindowHandle(LoadedWindow& window) {
  return static_cast<headless::detail::Window&>(window).handle;
}

std::intptr_t front::ControlHandle(Control& control) {
  auto& own = static_cast<headless::detail::Control&>(control);
  if (!own.handle) {
    own.handle = headless::CreateFakeWindow(
        {.title = control.layout().name, .processId = CurrentProcessId()});
  }
  return own.handle;
}

void front::GiveFocus(Control& control) {
  State().focused = ui::Ref{control.owner().layout().name, control.layout().name};
}

namespace headless {

namespace {

int IntAt(const front::Control& control, int index) {
  return ui::IntOf(control.ReadCommon(index));
}

// Whether the control lies wholly beyond its container's client area (`width` by `height`),
// where nothing of it can be seen.
bool Outside(const front::Control& control, int width, int height) {
  const int left = IntAt(control, ui::prop::kLeft), top = IntAt(control, ui::prop::kTop);
  return left + IntAt(control, ui::prop::kWidth) <= 0 ||
         top + IntAt(control, ui::prop::kHeight) <= 0 || left >= width || top >= height;
}

}  // namespace

bool IsLoaded(const Text& window) {
  return FindWindow(window) != nullptr;
}

WindowView ViewWindow(const Text& name) {
  std::shared_ptr<detail::Window> window = FindWindow(name);
  if (!window) return {};
  return {window->visible, window->minimised, window->maximised, window->left,
          window->top,     window->width,     window->height,    window->raised};
}

bool IsShown(const ui::Ref& ref) {
  std::shared_ptr<detail::Window> window = FindWindow(ref.window);
  if (!window || !window->visible || window->minimised) return false;
  // Walk from the control out through its containers.
  Text name = ref.control;
  while (!name.empty()) {
    detail::Control* control = window->FindControl(name);
    if (!control || !ui::BoolOf(control->ReadCommon(ui::prop::kVisible))) return false;
    const ui::ControlLayout& layout = control->layout();
    detail::Control* holder =
        layout.container.empty() ? nullptr : window->FindControl(layout.container);
    if (!layout.container.empty() && !holder) return false;
    const int width = holder ? IntAt(*holder, ui::prop::kWidth) : window->width;
    const int height = holder ? IntAt(*holder, ui::prop::kHeight) : window->height;
    if (Outside(*control, width, height)) return false;
    if (holder && holder->layout().type == ui::ControlType::kTab &&
        ui::IntOf(*holder->Read(ui::prop::tab::kCurrentPage)) != layout.page) {
      return false;
    }
    name = layout.container;
  }
  return true;
}

std::optional<ui::Ref> Focused() {
  return State().focused;
}

void ResetAll() {
  front::ForgetLoadedWindows();
  State() = {};
  ResetFakeWindows();
  ResetFrame();
}

}  // namespace headless

}  // namespace kesto
