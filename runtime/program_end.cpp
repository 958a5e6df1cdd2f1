// The one way the program ends: the exit routine runs exactly once, whichever path ends the
// program and from whichever thread, then the toolkit ends the process.
#include <mutex>

#include "runtime/core.h"
#include "runtime/toolkit.h"

namespace kesto {

namespace {
std::mutex& RoutineLock() {
  static std::mutex lock;
  return lock;
}
std::function<void()>& ExitRoutine() {
  static std::function<void()> routine;
  return routine;
}
}  // namespace

void RegisterExitRoutine(std::function<void()> routine) {
  std::lock_guard<std::mutex> guard(RoutineLock());
  ExitRoutine() = std::move(routine);
}

void EndProgram(int exitCode) {
  std::function<void()> routine;
  {
    // Taken out before it runs, so an end raised inside the routine (a fatal error) goes
    // straight to the process end instead of running it again.
    std::lock_guard<std::mutex> guard(RoutineLock());
    routine.swap(ExitRoutine());
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
