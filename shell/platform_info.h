// Loading the platform information (contact details, purchase and advertising addresses) from
// reg.qmz in the program folder or above it into the global PlatformInfo.
#pragma once

#include "runtime/core.h"

namespace kesto::shell {

// True when PlatformInfo holds usable values (the defaults or the file's); false when no
// reg.qmz is found (PlatformInfo untouched) or its content is unusable (defaults in 1 to 5).
bool LoadPlatformInfo();

// The path with every "/" turned into "\", cut before its last "\"; whole when it has none.
Text ParentFolder(const Text& path);

}  // namespace kesto::shell
