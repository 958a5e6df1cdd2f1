// The seam between the core services and the user-interface toolkit. Each toolkit back end
// (headless, gtk, win32) defines these; the core services call them and nothing else.
#pragma once

#include <functional>

#include "runtime/core.h"

namespace kesto::toolkit {

// Prepares the toolkit; called by RuntimeStart before any window exists.
void Start(int argc, char** argv);

// A modal message box without an owner window. `flags` already carries the modality bit.
// Returns the pressed button as MessageResult. Callable from any thread: off the
// user-interface thread it blocks only the caller.
int MessageBox(const Text& text, const Text& caption, int flags);

// True on the user-interface thread, and on any thread while no message loop has one.
bool OnUiThread();
// Queues `work` for the user-interface thread and returns at once.
void PostToUiThread(std::function<void()> work);

// Dispatches pending events and returns when none is waiting (or the loop is ending).
void ProcessEvents();

// Runs the message loop until the last window closes or the program ends.
void RunMessageLoop();

// Ends the process after the exit routine has run. The headless toolkit turns this into
// something a test can observe instead of ending the test runner.
[[noreturn]] void EndProcess(int exitCode);

}  // namespace kesto::toolkit
