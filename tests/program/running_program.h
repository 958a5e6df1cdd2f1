// Real processes for fake windows to belong to, so that the check of which program a recorded
// window belongs to runs against real process images and command lines. Each process sleeps
// until the test is done and is ended with it.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace kesto::testing {

class RunningProgram {
 public:
  // A copy of a system program saved as `file` (an application file "app/memo.qmz", say) and
  // started from there.
  static RunningProgram CopyRunAs(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::copy_file("/bin/sleep", file,
                               std::filesystem::copy_options::overwrite_existing);
    return Started([&] { execl(file.c_str(), file.c_str(), "600", nullptr); });
  }
  // A shell running `script` (its image is the shell; the script is on its command line).
  static RunningProgram ScriptRunAs(const std::filesystem::path& script) {
    std::filesystem::create_directories(script.parent_path());
    FILE* out = std::fopen(script.c_str(), "w");
    std::fputs("sleep 600\n", out);
    std::fclose(out);
    return Started([&] { execl("/bin/sh", "sh", script.c_str(), nullptr); });
  }
  // Another process running the test program itself: to the platform, a second copy of it.
  static RunningProgram ThisProgram() {
    return Started(
        [] {
          for (;;) pause();
        },
        false);
  }

  RunningProgram(RunningProgram&& other) noexcept : pid_(other.pid_) { other.pid_ = 0; }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  ~RunningProgram() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }

  std::uint32_t pid() const { return static_cast<std::uint32_t>(pid_); }

 private:
  explicit RunningProgram(pid_t pid) : pid_(pid) {}

  // Forked, the child runs `body` at once. When the body starts another program, the parent
  // waits until that image has replaced the fork's.
  template <class Body>
  static RunningProgram Started(Body body, bool execs = true) {
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
    return RunningProgram(pid);
  }

  pid_t pid_ = 0;
};

}  // namespace kesto::testing
