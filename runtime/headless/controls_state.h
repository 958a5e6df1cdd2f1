// State shared by the headless toolkit's window and control files. One lock guards it all;
// handlers, posted work and fatal errors always run with the lock released.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "runtime/headless/controls.h"
#include "runtime/layout.h"

namespace kesto::headless::detail {

struct Control {
  const ui::ControlLayout* layout = nullptr;  // nullptr for the window itself
  std::map<int, ui::Value> properties;
  std::vector<Row> rows;          // ListView
  int selected = -1;              // ListView
  std::vector<Text> navigations;  // HtmlViewer, WebUIControl
  std::vector<int> commands;      // WebUIControl
  native::Handle handle = 0;      // made on the first NativeHandle call
};

struct Window {
  const ui::WindowLayout* layout = nullptr;
  std::uint64_t serial = 0;  // tells a reloaded window from the one a close was posted for
  Control self;              // the window's own properties
  std::map<Text, Control> controls;
  bool minimised = false;
  bool maximised = false;
  std::optional<int> pendingState;  // windowState written while hidden, applied when shown
  bool destroying = false;
  int raised = 0;
};

struct Toolkit {
  std::mutex lock;
  std::map<Text, Window> windows;
  std::uint64_t nextSerial = 1;
  std::optional<TrayView> tray;
  bool trayAvailable = true;
  std::deque<std::optional<Text>> menuChoices;
  std::vector<PopupRecord> popups;
  std::optional<ui::Ref> focused;
  std::vector<Text> openedLinks;
};

Toolkit& State();

// Lookups under the lock; nullptr when absent. An empty control name is the window itself.
Window* FindWindow(const Text& name);
Control* FindControl(Window& window, const Text& name);

// Builds a window as its layout designs it, with every control and its initial properties.
Window MakeWindow(const ui::WindowLayout& layout);

// The runtime's fatal errors for controls.
inline constexpr char kWindowNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
inline constexpr char kNoNativeWindow[] = "指定窗口尚未载入";

// Runs `action(window, control)` under the lock. A control of a window that is not loaded, or a
// name the window does not have, ends the program with the fatal error, after the lock is
// released.
template <class Action>
auto OnControl(const ui::Ref& ref, Action action)
    -> decltype(action(std::declval<Window&>(), std::declval<Control&>())) {
  const char* error = kWindowNotLoaded;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    if (Window* window = FindWindow(ref.window)) {
      if (Control* control = FindControl(*window, ref.control)) return action(*window, *control);
      error = kNoNativeWindow;
    }
  }
  FatalError(0, error);
}

// Runs `action(window, control)` under the lock when the control exists; otherwise gives
// `absent`. For the test API, which reports instead of ending the program.
template <class Result, class Action>
Result IfControl(const ui::Ref& ref, Result absent, Action action) {
  std::lock_guard<std::mutex> guard(State().lock);
  Window* window = FindWindow(ref.window);
  Control* control = window ? FindControl(*window, ref.control) : nullptr;
  return control ? action(*window, *control) : absent;
}

// Fake native windows of the frame's table, for loaded windows and their controls. Called with
// the lock released.
native::Handle CreateNativeWindow(const Text& name, Window& w);
native::Handle CreateNativeControl(const Text& name);
void DropNativeWindow(native::Handle handle);
// Brings the window's fake native window in step with its properties.
void SyncNativeWindow(const Text& name);

// Posts the destruction of the window loaded as `serial`; a later load of the same window is
// left alone.
void PostClose(const Text& name, std::uint64_t serial);

}  // namespace kesto::headless::detail
