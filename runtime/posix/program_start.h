// What RuntimeStart learnt about the program on POSIX.
#pragma once

#include <string>

namespace kesto::posix {

// The native folder that holds the program file; empty before RuntimeStart.
std::string ProgramFolder();

}  // namespace kesto::posix
