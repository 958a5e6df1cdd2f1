// Another program with a window, started for the tests across processes: it writes its
// window's handle into the file named by its first argument.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/native.h"

namespace kesto::testing {

class WindowProgram {
 public:
  // Starts the program with the handle file and `arguments` (a command line's tail) and waits
  // until its window is on screen; window() is 0 when none came.
  WindowProgram(const std::string& program, const std::wstring& arguments);
  // Ends the program if it still runs.
  ~WindowProgram();
  WindowProgram(const WindowProgram&) = delete;
  WindowProgram& operator=(const WindowProgram&) = delete;

  native::Handle window() const { return window_; }
  std::uint32_t processId() const { return started_.dwProcessId; }
  // The file that it writes its window's handle into.
  const std::wstring& handleFile() const { return handleFile_; }
  // Whether it ended by itself within the time, and with which code.
  bool Ended(int timeoutMs, int& exitCode);

 private:
  PROCESS_INFORMATION started_{};
  std::wstring handleFile_;
  native::Handle window_ = 0;
};

}  // namespace kesto::testing
