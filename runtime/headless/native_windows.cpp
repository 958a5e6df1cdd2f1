// The fake-window table behind the native window operations of the headless toolkit.
#include "runtime/headless/native_windows.h"

#include <map>
#include <mutex>

namespace kesto {

namespace headless {
namespace {

struct Window {
  FakeWindowState state;
  bool ignoresClose = false;
  std::function<void()> onClose;
  std::function<void(int)> onShow;
};

struct Table {
  std::mutex lock;
  std::map<native::Handle, Window> windows;
  native::Handle lastHandle = 0x400000;
  native::Handle foreground = 0;
};

Table& Windows() {
  static Table table;
  return table;
}

// Runs `change` on a live window under the lock; false when there is none.
template <class Change>
bool WithLiveWindow(native::Handle handle, Change change) {
  auto& table = Windows();
  std::lock_guard<std::mutex> guard(table.lock);
  auto it = table.windows.find(handle);
  if (it == table.windows.end() || !it->second.state.exists) return false;
  change(it->second, table);
  return true;
}

void Show(native::Handle handle, WindowAction action, int command) {
  std::function<void(int)> onShow;
  WithLiveWindow(handle, [&](Window& window, Table&) {
    window.state.actions.push_back({action, command});
    ApplyShowCommand(window.state.visible, window.state.minimised, window.state.maximised, command);
    onShow = window.onShow;
  });
  if (onShow) onShow(command);
}

}  // namespace

void ApplyShowCommand(bool& visible, bool& minimised, bool& maximised, int command) {
  switch (command) {
    case native::kSwHide:
      visible = false;
      break;
    case native::kSwShowMinimized:
    case native::kSwMinimize:
      visible = true;
      minimised = true;
      break;
    case native::kSwMaximize:
      visible = true;
      minimised = false;
      maximised = true;
      break;
    case native::kSwShowNormal:
    case native::kSwRestore:
      visible = true;
      minimised = false;
      maximised = false;
      break;
    default:  // the plain show commands keep the size state
      visible = true;
      break;
  }
}

native::Handle CreateFakeWindow(FakeWindowOptions options) {
  auto& table = Windows();
  std::lock_guard<std::mutex> guard(table.lock);
  native::Handle handle = table.lastHandle += 0x10;
  Window& window = table.windows[handle];
  window.state.exists = true;
  window.state.title = options.title;
  window.state.rect = options.rect;
  window.state.visible = options.visible;
  window.state.minimised = options.minimised;
  window.state.processId = options.processId;
  window.ignoresClose = options.ignoresClose;
  window.onClose = std::move(options.onClose);
  window.onShow = std::move(options.onShow);
  return handle;
}

void DestroyFakeWindow(native::Handle handle) {
  WithLiveWindow(handle, [&](Window& window, Table& table) {
    window.state.exists = false;
    window.state.visible = false;
    window.onClose = nullptr;
    window.onShow = nullptr;
    if (table.foreground == handle) table.foreground = 0;
  });
}

void MinimiseFakeWindow(native::Handle handle) {
  WithLiveWindow(handle, [](Window& window, Table&) { window.state.minimised = true; });
}

void SetFakeWindowIgnoresClose(native::Handle handle, bool ignores) {
  WithLiveWindow(handle, [&](Window& window, Table&) { window.ignoresClose = ignores; });
}

void UpdateFakeWindow(native::Handle handle, const std::function<void(FakeWindowState&)>& update) {
  WithLiveWindow(handle, [&](Window& window, Table&) { update(window.state); });
}

FakeWindowState FakeWindow(native::Handle handle) {
  auto& table = Windows();
  std::lock_guard<std::mutex> guard(table.lock);
  auto it = table.windows.find(handle);
  return it == table.windows.end() ? FakeWindowState{} : it->second.state;
}

native::Handle ForegroundWindow() {
  auto& table = Windows();
  std::lock_guard<std::mutex> guard(table.lock);
  return table.foreground;
}

void ResetFakeWindows() {
  auto& table = Windows();
  std::lock_guard<std::mutex> guard(table.lock);
  table.windows.clear();
  table.foreground = 0;
}

}  // namespace headless

namespace native {

bool IsWindow(Handle window) {
  return headless::WithLiveWindow(window, [](headless::Window&, headless::Table&) {});
}

bool IsWindowVisible(Handle window) {
  return headless::FakeWindow(window).visible;
}

bool IsIconic(Handle window) {
  return headless::FakeWindow(window).minimised;
}

void ShowWindowAsync(Handle window, int showCommand) {
  headless::Show(window, headless::WindowAction::kShowWindowAsync, showCommand);
}

void ShowWindow(Handle window, int showCommand) {
  headless::Show(window, headless::WindowAction::kShowWindow, showCommand);
}

void OpenIcon(Handle window) {
  headless::Show(window, headless::WindowAction::kOpenIcon, kSwRestore);
}

void SetForegroundWindow(Handle window) {
  headless::WithLiveWindow(window, [&](headless::Window& w, headless::Table& table) {
    w.state.actions.push_back({headless::WindowAction::kSetForeground, 0});
    table.foreground = window;
  });
}

void BringWindowToTop(Handle window) {
  headless::WithLiveWindow(window, [](headless::Window& w, headless::Table&) {
    w.state.actions.push_back({headless::WindowAction::kBringToTop, 0});
  });
}

bool GetWindowRect(Handle window, Rect& rect) {
  return headless::WithLiveWindow(
      window, [&](headless::Window& w, headless::Table&) { rect = w.state.rect; });
}

void SetRoundWindowOutline(Handle window, int width, int height, int radius) {
  headless::WithLiveWindow(window, [&](headless::Window& w, headless::Table&) {
    w.state.actions.push_back({headless::WindowAction::kOutline, radius});
    w.state.outline = headless::FakeWindowState::Outline{width, height, radius};
  });
}

// A WM_CLOSE destroys the window at once, unless it ignores closes or its owner closes it.
void PostMessage(Handle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  std::function<void()> onClose;
  bool destroy = false;
  headless::WithLiveWindow(window, [&](headless::Window& w, headless::Table&) {
    w.state.actions.push_back({headless::WindowAction::kPostMessage, static_cast<int>(message)});
    w.state.posted.push_back({message, wParam, lParam});
    if (message != kWmClose || w.ignoresClose) return;
    onClose = w.onClose;
    destroy = !onClose;
  });
  if (onClose) onClose();
  if (destroy) headless::DestroyFakeWindow(window);
}

std::uint32_t WindowProcessId(Handle window) {
  std::uint32_t pid = 0;
  headless::WithLiveWindow(window,
                           [&](headless::Window& w, headless::Table&) { pid = w.state.processId; });
  return pid;
}

}  // namespace native

}  // namespace kesto
