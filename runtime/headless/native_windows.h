// The headless toolkit's native windows: a table of fake windows standing for any program's
// top-level windows. Tests create, hide, minimise and destroy them, and read back everything
// the native window operations (runtime/native.h) did to each.
//
//   auto tool = headless::CreateFakeWindow({.title = "tool"});
//   config.SetWindowHandle("tool", tool);  ... exit ...
//   EXPECT_FALSE(native::IsWindow(tool));   // a posted WM_CLOSE destroyed it
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "runtime/core.h"
#include "runtime/native.h"

namespace kesto::headless {

struct FakeWindowOptions {
  Text title{};
  native::Rect rect{0, 0, 400, 300};
  bool visible = true;
  bool minimised = false;
  // The process that made the window: a real process the test started, so that the check of
  // which program a recorded window belongs to runs for real. 0 stands for one that cannot be
  // told.
  std::uint32_t processId = 0;
  // A posted WM_CLOSE is ignored, as by a program that refuses to close.
  bool ignoresClose = false;
  // Called (instead of destroying the window) for a posted WM_CLOSE, on the posting thread:
  // the owner of a loaded window closes it its own way and then calls DestroyFakeWindow.
  std::function<void()> onClose{};
  // Called after ShowWindow, ShowWindowAsync or OpenIcon changed the window, with the show
  // command (OpenIcon counts as kSwRestore), so a loaded window can follow.
  std::function<void(int showCommand)> onShow{};
};

// What was done to a window, in order.
enum class WindowAction {
  kShowWindow,       // value: the show command
  kShowWindowAsync,  // value: the show command
  kOpenIcon,
  kSetForeground,
  kBringToTop,
  kOutline,
  kPostMessage,  // value: the message
};
struct WindowActionRecord {
  WindowAction action;
  int value = 0;
};

struct FakeWindowState {
  bool exists = false;  // false for an unknown or destroyed window
  Text title{};
  bool visible = false;
  bool minimised = false;
  bool maximised = false;
  native::Rect rect;
  std::uint32_t processId = 0;
  struct Outline {
    int width, height, radius;
  };
  std::optional<Outline> outline;  // the last rounded outline given
  struct Message {
    unsigned message;
    std::intptr_t wParam, lParam;
  };
  std::vector<Message> posted;
  std::vector<WindowActionRecord> actions;
};

// A new window with a handle never used before (and never 0).
native::Handle CreateFakeWindow(FakeWindowOptions options = {});
void DestroyFakeWindow(native::Handle window);
void MinimiseFakeWindow(native::Handle window);
void SetFakeWindowIgnoresClose(native::Handle window, bool ignores);
// Lets the owner of a loaded window keep its fake window in step (position, size, shown state)
// without recording an action.
void UpdateFakeWindow(native::Handle window, const std::function<void(FakeWindowState&)>& update);

// How a show command changes a window's shown and size state; shared by the fake windows and
// the loaded windows that follow them, so the two cannot drift apart.
void ApplyShowCommand(bool& visible, bool& minimised, bool& maximised, int showCommand);

// The window's state now; also readable after it was destroyed (exists is then false).
FakeWindowState FakeWindow(native::Handle window);
// The window last brought to the foreground, 0 if none.
native::Handle ForegroundWindow();
// Forgets every fake window.
void ResetFakeWindows();

}  // namespace kesto::headless
