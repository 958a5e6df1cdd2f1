// The program's side of the GTK toolkit loaded on demand: the toolkit's module travels inside
// the program file and is loaded the first time a window, a message box or a toolkit call
// needs it, so that a program which only reads files and starts another one never loads GTK
// or the browser engine.
#pragma once

#include "runtime/gtk_on_demand/toolkit_calls.h"

namespace kesto::gtk_on_demand {

// The toolkit's calls, its module loaded and started first when it is not loaded yet. Call it
// on the thread that is to be the user-interface thread. A module that cannot be loaded (a
// library of the system missing) ends the program, saying why on the standard error.
const ToolkitCalls& LoadedToolkit();

// The toolkit's calls when it is loaded; nullptr before.
const ToolkitCalls* ToolkitIfLoaded();

// Remembers the command line for the toolkit's start.
void KeepCommandLine(int argc, char** argv);

}  // namespace kesto::gtk_on_demand
