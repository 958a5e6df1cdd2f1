#include "runtime/watched_program.h"

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

#include "runtime/posix/command_spawn.h"
#include "runtime/tool_services.h"

namespace kesto {

namespace {
constexpr int kPollMilliseconds = 20;
}

WatchedProgram::WatchedProgram(const Text& commandLine) {
  pid_t pid = 0;
  started_ = posix::SpawnCommandLine(commandLine, pid);
  process_ = pid;
}

WatchedProgram::~WatchedProgram() {
  if (!started_ || ended_) return;
  // Reaped whenever it ends, as RunCommand's children are.
  const pid_t pid = static_cast<pid_t>(process_);
  std::thread([pid] {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

bool WatchedProgram::Ended(int milliseconds) {
  if (!started_ || ended_) return true;
  for (int waited = 0;; waited += kPollMilliseconds) {
    int status = 0;
    const pid_t reaped = waitpid(static_cast<pid_t>(process_), &status, WNOHANG);
    if (reaped == static_cast<pid_t>(process_) || (reaped < 0 && errno == ECHILD)) {
      ended_ = true;
      ordinary_ = reaped > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
      return true;
    }
    if (waited >= milliseconds) return false;
    PauseMilliseconds(kPollMilliseconds);
  }
}

void WatchedProgram::End() {
  if (!started_ || ended_) return;
  kill(static_cast<pid_t>(process_), SIGKILL);
  int status = 0;
  while (waitpid(static_cast<pid_t>(process_), &status, 0) < 0 && errno == EINTR) {
  }
  ended_ = true;
  ordinary_ = false;
}

}  // namespace kesto
