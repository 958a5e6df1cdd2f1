// The one way the program ends: the exit routine runs exactly once, on the user-interface
// thread whichever thread asked for the end, then the toolkit ends the process.
#include <mutex>
#include <thread>

#include "runtime/core.h"
#include "runtime/toolkit.h"

namespace kesto {

namespace {
struct ExitState {
  std::mutex lock;
  std::function<void()> routine;
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
  if (!toolkit::OnUiThread()) {
    // The exit routine releases what the handlers use, so it runs on the user-interface thread
    // between their steps, never beside one. This thread stops here until the process ends.
    toolkit::PostToUiThread([exitCode] { EndProgram(exitCode); });
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  std::function<void()> routine;
  {
    // Taken out before it runs, so an end raised inside it (a fatal error) goes straight on to
    // the process end instead of running it again.
    std::lock_guard<std::mutex> guard(Exit().lock);
    routine.swap(Exit().routine);
  }
  if (routine) routine();
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
