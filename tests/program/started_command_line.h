// The command line the runtime reads a started program's arguments from, for tests that run
// the program's entry inside the test program.
#pragma once

#include <string>
#include <vector>

namespace kesto::testing {

// Makes `words` (UTF-8, the program's path first) the command line the runtime reads, as the
// entry's argc and argv give them.
void UseStartedCommandLine(const std::vector<std::string>& words);

}  // namespace kesto::testing
