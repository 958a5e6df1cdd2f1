// The file RuntimeStart takes as the program's own: the running executable, links followed.
#pragma once

#include "runtime/core.h"

namespace kesto {

// For tests, which run the program's code as if it lay in a temporary program folder:
// RuntimeStart takes `path` (a full path) as the program file instead, until the empty text
// restores the running executable.
void OverrideProgramFile(const Text& path);

// For the back ends' RuntimeStart: the file a test named (empty: none), and the program file's
// name once found, which ProgramFileName gives.
Text ProgramFileOverride();
void RememberProgramFileName(const Text& fileName);

}  // namespace kesto
