// The headless toolkit's side of what the front asks of a toolkit: the frame's queue as the
// user-interface thread, and windows in memory.
#include "runtime/toolkit_front/back_end.h"

#include <condition_variable>
#include <mutex>

#include "runtime/headless/frame.h"
#include "runtime/headless/loaded_windows.h"
#include "runtime/toolkit.h"
#include "runtime/toolkit_front/controls.h"

namespace kesto::front {

// From another thread the work waits for the user-interface thread to drain its queue, as on
// a real toolkit.
void RunOnUiThread(const std::function<void()>& work) {
  if (toolkit::OnUiThread()) {
    work();
    return;
  }
  std::mutex lock;
  std::condition_variable ran;
  bool done = false;
  headless::Post([&] {
    work();
    std::lock_guard<std::mutex> guard(lock);
    done = true;
    ran.notify_all();
  });
  std::unique_lock<std::mutex> guard(lock);
  ran.wait(guard, [&] { return done; });
}

void PostToUiThread(std::function<void()> work) {
  headless::Post(std::move(work));
}

bool ChangesWindowsHere() {
  return toolkit::OnUiThread();
}

// The headless message loop returns by itself once the queue is empty.
void EndMessageLoop() {}

std::shared_ptr<LoadedWindow> BuildWindow(const ui::WindowLayout& layout) {
  auto window = std::make_shared<headless::detail::Window>(layout);
  for (const ui::ControlLayout& control : layout.controls) {
    if (auto made = MakeControl(*window, control)) window->AddControl(std::move(made));
  }
  window->handle = headless::detail::CreateNativeWindow(window);
  return window;
}

void ShowNewWindow(LoadedWindow& window) {
  auto& own = static_cast<headless::detail::Window&>(window);
  own.visible = true;
  own.Sync();
}

void RaiseWindow(LoadedWindow& window) {
  ++static_cast<headless::detail::Window&>(window).raised;
}

}  // namespace kesto::front
