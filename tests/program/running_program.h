// Real processes for fake windows to belong to, so that the check of which program a recorded
// window belongs to runs against real process images and command lines. Each process is held
// until the test is done and is ended with it.
#pragma once

#include <cstdint>
#include <filesystem>

namespace kesto::testing {

class RunningProgram {
 public:
  // A copy of a program saved as `file` (an application file "app/memo.qmz", say) and started
  // from there.
  static RunningProgram CopyRunAs(const std::filesystem::path& file);
  // A shell running `script` (its image is the shell; the script is on its command line). Only
  // in builds whose system runs a script through the interpreter its first line names.
  static RunningProgram ScriptRunAs(const std::filesystem::path& script);
  // Another process running the test program itself: to the platform, a second copy of it.
  static RunningProgram ThisProgram();

  RunningProgram(RunningProgram&& other) noexcept : pid_(other.pid_), handle_(other.handle_) {
    other.pid_ = 0;
    other.handle_ = 0;
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  ~RunningProgram();

  std::uint32_t pid() const { return pid_; }

 private:
  RunningProgram(std::uint32_t pid, std::intptr_t handle) : pid_(pid), handle_(handle) {}

  std::uint32_t pid_ = 0;
  std::intptr_t handle_ = 0;  // what the process is ended and waited for through
};

}  // namespace kesto::testing
