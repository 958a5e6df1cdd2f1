// Starting a command line on Windows the way RunCommand does, for callers that watch the process.
#pragma once

#include <windows.h>

#include <optional>

#include "runtime/core.h"

namespace kesto::win32 {

// CreateProcessW of the command line, shown as RunCommand's `showMode` says; the caller closes
// both handles in `started`.
bool StartCommandLine(const Text& commandLine, std::optional<int> showMode,
                      PROCESS_INFORMATION& started);

}  // namespace kesto::win32
