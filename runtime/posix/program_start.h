// What RuntimeStart learnt about the program on POSIX.
#pragma once

#include <string>
#include <vector>

namespace kesto::posix {

// The native folder that holds the program file; empty before RuntimeStart.
std::string ProgramFolder();

// The entries of PATH in order, empty ones kept: each caller decides what an empty entry means.
std::vector<std::string> PathFolders();

}  // namespace kesto::posix
