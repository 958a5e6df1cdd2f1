// Loading, closing and looking at windows.
#include "runtime/headless/controls_state.h"
#include "runtime/headless/frame.h"
#include "runtime/headless/native_windows.h"

namespace kesto {

using headless::detail::Control;
using headless::detail::FindControl;
using headless::detail::FindWindow;
using headless::detail::State;
using headless::detail::Window;

namespace headless::detail {
namespace {
// Handles of a window and its controls, for dropping from the fake-window table.
std::vector<native::Handle> Handles(const Window& w) {
  std::vector<native::Handle> handles;
  if (w.self.handle) handles.push_back(w.self.handle);
  for (const auto& [name, control] : w.controls) {
    if (control.handle) handles.push_back(control.handle);
  }
  return handles;
}

// Takes the window out of the toolkit with its tray entry, when it is the one loaded as
// `serial` (any, without); gives the native handles to drop.
std::vector<native::Handle> RemoveWindow(const Text& name,
                                         std::optional<std::uint64_t> serial = {}) {
  Toolkit& toolkit = State();
  Window* w = FindWindow(name);
  if (!w || (serial && w->serial != *serial)) return {};
  std::vector<native::Handle> handles = Handles(*w);
  if (toolkit.tray && toolkit.tray->window == name) toolkit.tray.reset();
  if (toolkit.focused && toolkit.focused->window == name) toolkit.focused.reset();
  toolkit.windows.erase(name);
  return handles;
}

// Destroys the window a close was posted for, unless it was destroyed (or reloaded) since.
// The being-destroyed event runs while the controls still exist.
void DestroyWindow(const Text& name, std::uint64_t serial) {
  {
    std::lock_guard<std::mutex> guard(State().lock);
    Window* w = FindWindow(name);
    if (!w || w->serial != serial || w->destroying) return;
    w->destroying = true;
  }
  // Removed even when the handler ends the program; a window loaded anew meanwhile stays.
  struct Finish {
    Text name;
    std::uint64_t serial;
    ~Finish() {
      std::vector<native::Handle> handles;
      {
        std::lock_guard<std::mutex> guard(State().lock);
        handles = RemoveWindow(name, serial);
      }
      for (native::Handle handle : handles) DropNativeWindow(handle);
    }
  } finish{name, serial};
  Fire({name, ""}, ui::Event::kDestroying);
}
}  // namespace

void PostClose(const Text& name, std::uint64_t serial) {
  Post([name, serial] { DestroyWindow(name, serial); });
}
}  // namespace headless::detail

namespace ui {

namespace {
// Loading a window that is open brings it to the front; it is not created again. Called under
// the lock.
bool RaiseIfOpen(const Text& window) {
  Window* open = FindWindow(window);
  if (!open || open->destroying) return false;
  ++open->raised;
  return true;
}
}  // namespace

bool LoadWindow(const Text& window) {
  const WindowLayout* layout = FindWindowLayout(window);
  if (!layout) return false;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    if (RaiseIfOpen(window)) return true;
  }
  // Built with the lock released; another thread may open the window meanwhile.
  Window w = headless::detail::MakeWindow(*layout);
  {
    std::lock_guard<std::mutex> guard(State().lock);
    if (RaiseIfOpen(window)) return true;
    w.serial = State().nextSerial++;
  }
  w.self.handle = headless::detail::CreateNativeWindow(window, w);
  std::vector<native::Handle> replaced;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    replaced = headless::detail::RemoveWindow(window);  // one still being destroyed
    State().windows.emplace(window, std::move(w));
  }
  for (native::Handle old : replaced) headless::detail::DropNativeWindow(old);
  headless::Fire({window, ""}, Event::kCreated);
  return true;
}

void CloseWindow(const Text& window) {
  std::uint64_t serial;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    Window* w = FindWindow(window);
    if (!w) return;
    serial = w->serial;
  }
  headless::detail::PostClose(window, serial);
}

std::intptr_t NativeHandle(const Ref& ref) {
  {
    std::lock_guard<std::mutex> guard(State().lock);
    Window* w = FindWindow(ref.window);
    Control* c = w ? FindControl(*w, ref.control) : nullptr;
    if (!c) return 0;
    if (c->handle) return c->handle;
  }
  // A control's handle is made when first asked for.
  native::Handle handle = headless::detail::CreateNativeControl(ref.control);
  std::lock_guard<std::mutex> guard(State().lock);
  Window* w = FindWindow(ref.window);
  Control* c = w ? FindControl(*w, ref.control) : nullptr;
  if (c && !c->handle) {
    c->handle = handle;
    return handle;
  }
  // The window went away, or another thread got there first, meanwhile.
  headless::detail::DropNativeWindow(handle);
  return c ? c->handle : 0;
}

void FocusControl(const Ref& ref) {
  headless::detail::OnControl(ref, [&](Window&, Control&) { State().focused = ref; });
}

}  // namespace ui

namespace headless {

namespace {
// Whether the control lies wholly beyond its container's client area, where nothing of it
// can be seen.
bool OutsideOf(Control& c, Control& container) {
  auto& p = c.properties;
  int left = ui::IntOf(p[ui::prop::kLeft]), top = ui::IntOf(p[ui::prop::kTop]);
  int right = left + ui::IntOf(p[ui::prop::kWidth]);
  int bottom = top + ui::IntOf(p[ui::prop::kHeight]);
  return right <= 0 || bottom <= 0 || left >= ui::IntOf(container.properties[ui::prop::kWidth]) ||
         top >= ui::IntOf(container.properties[ui::prop::kHeight]);
}
}  // namespace

bool IsLoaded(const Text& window) {
  std::lock_guard<std::mutex> guard(State().lock);
  return FindWindow(window) != nullptr;
}

WindowView ViewWindow(const Text& window) {
  std::lock_guard<std::mutex> guard(State().lock);
  detail::Window* w = FindWindow(window);
  if (!w) return {};
  auto& p = w->self.properties;
  return {ui::BoolOf(p[ui::prop::kVisible]),
          w->minimised,
          w->maximised,
          ui::IntOf(p[ui::prop::kLeft]),
          ui::IntOf(p[ui::prop::kTop]),
          ui::IntOf(p[ui::prop::kWidth]),
          ui::IntOf(p[ui::prop::kHeight]),
          w->raised};
}

bool IsShown(const ui::Ref& ref) {
  std::lock_guard<std::mutex> guard(State().lock);
  detail::Window* w = FindWindow(ref.window);
  if (!w || !ui::BoolOf(w->self.properties[ui::prop::kVisible]) || w->minimised) return false;
  // Walk from the control out through its containers.
  Text name = ref.control;
  while (!name.empty()) {
    Control* c = FindControl(*w, name);
    if (!c || !ui::BoolOf(c->properties[ui::prop::kVisible])) return false;
    const Text& container = c->layout->container;
    Control* holder = container.empty() ? &w->self : FindControl(*w, container);
    if (!holder || OutsideOf(*c, *holder)) return false;
    if (holder->layout && holder->layout->type == ui::ControlType::kTab &&
        ui::IntOf(holder->properties[ui::prop::tab::kCurrentPage]) != c->layout->page) {
      return false;
    }
    name = container;
  }
  return true;
}

std::optional<ui::Ref> Focused() {
  std::lock_guard<std::mutex> guard(State().lock);
  return State().focused;
}

void ResetAll() {
  {
    std::lock_guard<std::mutex> guard(State().lock);
    detail::Toolkit& toolkit = State();
    toolkit.windows.clear();
    toolkit.tray.reset();
    toolkit.trayAvailable = true;
    toolkit.menuChoices.clear();
    toolkit.popups.clear();
    toolkit.focused.reset();
    toolkit.openedLinks.clear();
  }
  ResetFakeWindows();
  ResetFrame();
}

}  // namespace headless

}  // namespace kesto
