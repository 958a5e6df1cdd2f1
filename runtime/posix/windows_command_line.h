// Windows command lines on POSIX: built from an argv for the program to read, and taken apart
// into a program word and an argv for the programs it starts.
#pragma once

#include <string>
#include <vector>

#include "runtime/core.h"

namespace kesto::posix {

// Each word quoted as a Windows program's C runtime reads it back: words with blanks or
// quotes (and empty ones) in double quotes, inner quotes and the backslashes before them
// escaped with backslashes.
Text JoinCommandLine(const std::vector<Text>& words);

// The arguments in `text` as a Windows program's C runtime reads them: blanks separate,
// double quotes group ("" inside quotes is a quote), backslashes escape only quotes.
std::vector<Text> SplitArguments(const Text& text);

}  // namespace kesto::posix
