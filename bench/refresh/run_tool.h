// Running a command-line tool, as the other side of a comparison.
#pragma once

#include <string>
#include <vector>

namespace kesto::bench {

// Runs the program found on the PATH with these arguments (the first is its name), its output
// thrown away, and waits for it. Whether it ran and exited with 0.
bool RunTool(const std::vector<std::string>& arguments);

}  // namespace kesto::bench
