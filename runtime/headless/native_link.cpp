// Loaded windows are windows of the fake-window table, so that native operations on their
// handles act as on any other window: a posted WM_CLOSE closes the loaded window, a show
// command shows, hides, minimises or restores it, and its place and size follow its properties.
#include "runtime/headless/loaded_windows.h"
#include "runtime/headless/native_windows.h"
#include "runtime/toolkit_front/back_end.h"

namespace kesto::headless::detail {

namespace {

// Native calls from another thread reach the window through its user-interface thread.
void OnWindowThread(std::function<void()> work) {
  if (front::ChangesWindowsHere()) {
    work();
  } else {
    front::PostToUiThread(std::move(work));
  }
}

}  // namespace

native::Handle CreateNativeWindow(const std::shared_ptr<Window>& window) {
  std::weak_ptr<Window> weak = window;
  FakeWindowOptions options;
  options.title = window->title;
  options.rect = {window->left, window->top, window->left + window->width,
                  window->top + window->height};
  options.visible = window->visible;
  options.processId = CurrentProcessId();
  options.onClose = [weak] {
    front::PostToUiThread([weak] { front::DestroyLoadedWindow(weak.lock()); });
  };
  // The window takes the show command as the user's doing: its state reads back as shown.
  options.onShow = [weak](int command) {
    OnWindowThread([weak, command] {
      std::shared_ptr<Window> shown = weak.lock();
      if (!shown) return;
      ApplyShowCommand(shown->visible, shown->minimised, shown->maximised, command);
    });
  };
  return CreateFakeWindow(std::move(options));
}

}  // namespace kesto::headless::detail
