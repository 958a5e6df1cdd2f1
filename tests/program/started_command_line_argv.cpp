// Where the runtime records the command line from the entry's argv, the argv the test hands
// the entry is the command line already.
#include "tests/program/started_command_line.h"

namespace kesto::testing {

void UseStartedCommandLine(const std::vector<std::string>&) {}

}  // namespace kesto::testing
