// Files a user names on a tool's command line, and the tool's arguments, as the user typed
// them: UTF-8, in the system's own path form. For tools that work on the user's files rather
// than the program folder's.
#pragma once

#include <string>
#include <vector>

#include "runtime/core.h"

namespace kesto {

// The arguments after the program's own name, as UTF-8 (on Windows read from the wide command
// line, so no character is lost to the ANSI code page).
std::vector<std::string> UserArguments(int argc, char** argv);

// Reads the whole file; on failure says why in `error` and returns false.
bool ReadUserFile(const std::string& path, Bytes& out, std::string& error);

// Writes the bytes to a temporary file beside `path`, flushes it to the disk and renames it over
// `path`, so the target holds either its old content or the whole new one, even after a crash.
// A read-only file is refused, as Windows refuses it; on failure says why and returns false.
bool ReplaceUserFile(const std::string& path, const Bytes& bytes, std::string& error);

}  // namespace kesto
