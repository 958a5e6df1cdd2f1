// The headless toolkit's frame, for tests: message boxes answered from a queue and recorded,
// a queue of posted tasks drained on the user-interface thread, and the end of the program
// turned into an exception a test can catch.
//
// Typical test:
//   headless::ResetFrame();
//   headless::QueueAnswer(kIdCancel);           // the next message box is answered Cancel
//   try { SomethingThatEnds(); } catch (const headless::ProgramEnded& end) { ... end.exitCode }
//   EXPECT_EQ(headless::MessageBoxes()[0].text, "...");
#pragma once

#include <functional>
#include <optional>
#include <thread>  // std::chrono durations; <chrono> itself has a text GBK cannot hold
#include <vector>

#include "runtime/core.h"

namespace kesto::headless {

// Thrown on the user-interface thread where a real program would end its process (after the
// exit routine has run). On any other thread the end is handed to the user-interface thread as
// a posted task that throws this, and the calling thread stops there for good (as the process
// ending would stop it): start such threads detached.
struct ProgramEnded {
  int exitCode;
};

// A message box as it was shown, with the answer it got.
struct MessageRecord {
  Text text;
  Text caption;
  int flags = 0;
  int answer = 0;
};

// Answers the next message box not yet answered with `answer` (a MessageResult). Boxes shown
// while no answer is queued are answered kIdOk. Thread-safe.
void QueueAnswer(int answer);
// Every message box shown since the last reset, oldest first. Thread-safe.
std::vector<MessageRecord> MessageBoxes();

// Runs `task` on the user-interface thread when the queue is next drained (ProcessEvents,
// RunMessageLoop, RunUntil). Callable from any thread.
void Post(std::function<void()> task);
// Number of posted tasks not yet run.
int PendingTasks();
// Drains posted tasks, waiting for more, until `done()` holds or the time is up; returns
// whether `done()` held. For tests that wait on another thread's work.
bool RunUntil(const std::function<bool()>& done,
              std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The exit code of the last program end on any thread, if the program has ended since the
// last reset.
std::optional<int> EndedExitCode();

// Starts afresh: forgets queued answers, records, pending tasks and the last end, and makes
// the calling thread the user-interface thread.
void ResetFrame();

// RunMessageLoop in this toolkit drains the posted tasks and returns once none is left, so a
// test can go on driving the windows after the program's entry has returned.

}  // namespace kesto::headless
