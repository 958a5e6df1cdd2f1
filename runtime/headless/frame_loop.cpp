// The headless toolkit's start, posted tasks and message loop.
#include "runtime/headless/frame_state.h"
#include "runtime/toolkit.h"

namespace kesto {

namespace headless {

namespace detail {
FrameState& Frame() {
  static FrameState frame;
  return frame;
}
}  // namespace detail

namespace {
// Runs the tasks waiting now, one at a time and without the lock held: a task may post more,
// show a message box or end the program.
void DrainTasks() {
  auto& frame = detail::Frame();
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> guard(frame.lock);
      if (frame.tasks.empty()) return;
      task = std::move(frame.tasks.front());
      frame.tasks.pop_front();
    }
    task();
  }
}
}  // namespace

void Post(std::function<void()> task) {
  auto& frame = detail::Frame();
  {
    std::lock_guard<std::mutex> guard(frame.lock);
    frame.tasks.push_back(std::move(task));
  }
  frame.posted.notify_all();
}

int PendingTasks() {
  auto& frame = detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  return static_cast<int>(frame.tasks.size());
}

bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  auto& frame = detail::Frame();
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    DrainTasks();
    if (done()) return true;
    std::unique_lock<std::mutex> guard(frame.lock);
    auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    // Woken by a post; the short slice also notices work another thread did without one.
    frame.posted.wait_until(guard, std::min(deadline, now + std::chrono::milliseconds(20)),
                            [&] { return !frame.tasks.empty(); });
  }
}

std::optional<int> EndedExitCode() {
  auto& frame = detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  return frame.endedExitCode;
}

void ResetFrame() {
  auto& frame = detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  frame.tasks.clear();
  frame.answers.clear();
  frame.messages.clear();
  frame.endedExitCode.reset();
  frame.uiThread = std::this_thread::get_id();
}

}  // namespace headless

void toolkit::Start(int, char**) {
  auto& frame = headless::detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  frame.uiThread = std::this_thread::get_id();
}

bool toolkit::OnUiThread() {
  auto& frame = headless::detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  return frame.uiThread == std::this_thread::get_id();
}

void toolkit::PostToUiThread(std::function<void()> work) {
  headless::Post(std::move(work));
}

void toolkit::ProcessEvents() {
  headless::DrainTasks();
}

void toolkit::RunMessageLoop() {
  headless::DrainTasks();
}

void toolkit::EndProcess(int exitCode) {
  auto& frame = headless::detail::Frame();
  bool onUiThread;
  {
    std::lock_guard<std::mutex> guard(frame.lock);
    frame.endedExitCode = exitCode;
    onUiThread = frame.uiThread == std::this_thread::get_id();
  }
  if (onUiThread) throw headless::ProgramEnded{exitCode};
  headless::Post([exitCode] { throw headless::ProgramEnded{exitCode}; });
  // The process would end here; this thread must not run on.
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

}  // namespace kesto
