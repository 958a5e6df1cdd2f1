#include "runtime/watched_program.h"

#include <windows.h>

#include "runtime/win32/command_start.h"

namespace kesto {

namespace {

// How long a program that was ended may take to be gone.
constexpr DWORD kEndWaitMilliseconds = 10000;

HANDLE ProcessOf(std::intptr_t process) {
  return reinterpret_cast<HANDLE>(process);
}

}  // namespace

WatchedProgram::WatchedProgram(const Text& commandLine) {
  PROCESS_INFORMATION started{};
  started_ = win32::StartCommandLine(commandLine, std::nullopt, started);
  if (!started_) return;
  CloseHandle(started.hThread);
  process_ = reinterpret_cast<std::intptr_t>(started.hProcess);
}

WatchedProgram::~WatchedProgram() {
  if (started_) CloseHandle(ProcessOf(process_));
}

bool WatchedProgram::Ended(int milliseconds) {
  if (!started_ || ended_) return true;
  if (WaitForSingleObject(ProcessOf(process_), static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) {
    return false;
  }
  DWORD code = 1;
  ended_ = true;
  ordinary_ = GetExitCodeProcess(ProcessOf(process_), &code) && code == 0;
  return true;
}

// By the handle of the process started: a program of the same name the seller started is
// never touched. Its files can be put back only once it is gone.
void WatchedProgram::End() {
  if (!started_ || ended_) return;
  TerminateProcess(ProcessOf(process_), 1);
  WaitForSingleObject(ProcessOf(process_), kEndWaitMilliseconds);
  ended_ = true;
  ordinary_ = false;
}

}  // namespace kesto
