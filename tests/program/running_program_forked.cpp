// Running programs as forked children, each in a process group of its own.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/program/running_program.h"

namespace kesto::testing {

namespace {

// Forked, the child runs `body` at once. When the body starts another program, the parent waits
// until that image has replaced the fork's. The handle is the child's process id.
template <class Body>
std::intptr_t Started(Body body, bool execs = true) {
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  pid_t pid = fork();
  if (pid == 0) {
    // A group of its own, so that a script's children end with it, and no test output pipe
    // held open after the test.
    setpgid(0, 0);
    int null = open("/dev/null", O_RDWR);
    for (int fd : {0, 1, 2}) dup2(null, fd);
    body();
    _exit(127);
  }
  setpgid(pid, pid);
  const std::string image = "/proc/" + std::to_string(pid) + "/exe";
  for (int wait = 0; execs && wait < 500; ++wait) {
    std::error_code error;
    if (std::filesystem::read_symlink(image, error) != self && !error) break;
    usleep(10'000);
  }
  return pid;
}

}  // namespace

RunningProgram RunningProgram::CopyRunAs(const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  std::filesystem::copy_file("/bin/sleep", file, std::filesystem::copy_options::overwrite_existing);
  std::intptr_t pid = Started([&] { execl(file.c_str(), file.c_str(), "600", nullptr); });
  return RunningProgram(static_cast<std::uint32_t>(pid), pid);
}

RunningProgram RunningProgram::ScriptRunAs(const std::filesystem::path& script) {
  std::filesystem::create_directories(script.parent_path());
  FILE* out = std::fopen(script.c_str(), "w");
  std::fputs("sleep 600\n", out);
  std::fclose(out);
  std::intptr_t pid = Started([&] { execl("/bin/sh", "sh", script.c_str(), nullptr); });
  return RunningProgram(static_cast<std::uint32_t>(pid), pid);
}

RunningProgram RunningProgram::ThisProgram() {
  std::intptr_t pid = Started(
      [] {
        for (;;) pause();
      },
      false);
  return RunningProgram(static_cast<std::uint32_t>(pid), pid);
}

RunningProgram::~RunningProgram() {
  if (handle_ <= 0) return;
  kill(-static_cast<pid_t>(handle_), SIGKILL);
  waitpid(static_cast<pid_t>(handle_), nullptr, 0);
}

}  // namespace kesto::testing
