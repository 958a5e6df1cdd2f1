// The process's command line in its Windows form, and the arguments read from it.
#pragma once

#include "runtime/core.h"

namespace kesto {

// The whole command line, program path first, as the back end recorded it at start-up.
Text ProcessCommandLine();

// The arguments after the program's own path: blanks separate them, a double-quoted run is one
// argument without its quotes. No escapes.
Array<Text> ParseCommandLineArgs(const Text& commandLine);

}  // namespace kesto
