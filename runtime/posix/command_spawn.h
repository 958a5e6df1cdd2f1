// Starting a command line on POSIX the way RunCommand does, for callers that watch the child.
#pragma once

#include <sys/types.h>

#include "runtime/core.h"

namespace kesto::posix {

// Starts the program the command line names (found by the Windows rules) with its arguments;
// false when there is no such program or it cannot be started. The caller reaps the child.
bool SpawnCommandLine(const Text& commandLine, pid_t& pid);

}  // namespace kesto::posix
