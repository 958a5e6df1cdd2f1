// The platform's process entry.
#pragma once

#include "shell/handlers.h"

namespace kesto::shell {

// Prepares the runtime (the program folder becomes the current directory), creates the global
// state, registers its release as the exit routine, binds the window handlers with `bind`,
// brings back settings Windows kept elsewhere for an older build, takes the folder's instance lock
// (or waits for the platform that holds it), hands a user start over to the updater before any
// window where nothing is to be shown first, loads the main window (whose created event runs the
// start-up sequence) and runs the message loop. Returns 0 when the loop ends, -1 when the main
// window cannot be loaded. The caller ends the program with the result (EndProgram), which runs the
// exit routine.
int ProcessEntry(int argc, char** argv, void (*bind)() = BindHandlers);

}  // namespace kesto::shell
