// The one way the program ends: the exit routine runs exactly once, whichever path ends the
// program and from whichever thread, then the toolkit ends the process.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "runtime/core.h"
#include "runtime/toolkit.h"

namespace kesto {

namespace {
struct ExitState {
  std::mutex lock;
  std::condition_variable finished;
  std::function<void()> routine;
  bool running = false;
  std::thread::id runner;
};

ExitState& Exit() {
  static ExitState state;
  return state;
}
}  // namespace

void RegisterExitRoutine(std::function<void()> routine) {
  auto& exit = Exit();
  std::lock_guard<std::mutex> guard(exit.lock);
  exit.routine = std::move(routine);
}

void EndProgram(int exitCode) {
  auto& exit = Exit();
  std::function<void()> routine;
  {
    // The routine is taken out before it runs, so an end raised inside it (a fatal error) goes
    // straight on to the process end instead of running it again. An end on another thread
    // meanwhile waits for the routine to finish before it ends the process.
    std::unique_lock<std::mutex> guard(exit.lock);
    routine.swap(exit.routine);
    if (routine) {
      exit.running = true;
      exit.runner = std::this_thread::get_id();
    } else if (exit.running && exit.runner != std::this_thread::get_id()) {
      exit.finished.wait(guard, [&] { return !exit.running; });
    }
  }
  if (routine) {
    struct Finish {
      ExitState& exit;
      ~Finish() {
        {
          std::lock_guard<std::mutex> guard(exit.lock);
          exit.running = false;
        }
        exit.finished.notify_all();
      }
    } finish{exit};
    routine();
  }
  toolkit::EndProcess(exitCode);
}

void FatalError(int errorNumber, const Text& message) {
  Text text = "运行时出错!\r\n\r\n";
  if (errorNumber != 0) text += "错误代码：" + ToText(errorNumber) + "\r\n\r\n";
  if (!message.empty()) text += "错误信息：" + message + "\r\n";
  ShowMessage(text, kMbIconStop, "错误");
  EndProgram(-1);
}

}  // namespace kesto
