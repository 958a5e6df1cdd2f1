// A program this one started and keeps an eye on: whether it still runs, how it ended, and
// ending it. The updater tries a new release this way: only the process it started is ever
// ended, by its own handle, never another program of the same name.
#pragma once

#include <cstdint>

#include "runtime/core.h"

namespace kesto {

class WatchedProgram {
 public:
  // Starts the command line as RunCommand does, without waiting for it.
  explicit WatchedProgram(const Text& commandLine);
  // The program runs on; only the watch ends.
  ~WatchedProgram();
  WatchedProgram(const WatchedProgram&) = delete;
  WatchedProgram& operator=(const WatchedProgram&) = delete;

  bool Started() const { return started_; }
  // Waits at most `milliseconds` for the program to end; true once it has ended.
  bool Ended(int milliseconds = 0);
  // Once ended: whether it ended by itself with status 0, as a program its user closes does,
  // rather than with a failure or a crash.
  bool EndedOrdinarily() const { return ended_ && ordinary_; }
  // Ends the program, this process only, and waits until it is gone.
  void End();

 private:
  std::intptr_t process_ = 0;  // the process id on POSIX, its handle on Windows
  bool started_ = false;
  bool ended_ = false;
  bool ordinary_ = false;
};

}  // namespace kesto
