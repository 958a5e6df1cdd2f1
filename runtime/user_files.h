// Whole-file reads and writes on the tool's own command-line paths (UTF-8, "/").
#pragma once

#include <string>

#include "runtime/core.h"

namespace regtool {

// Reads the whole file; on failure says why in `error` and returns false.
bool ReadNativeFile(const std::string& path, kesto::Bytes& out, std::string& error);

// Writes the bytes to a temporary file beside `path` and renames it over `path`, so the target
// holds either its old content or the whole new one; on failure says why and returns false.
bool ReplaceNativeFile(const std::string& path, const kesto::Bytes& bytes, std::string& error);

}  // namespace regtool
