// The program folder as the settings kept beside the program need it: writable, and holding what
// an older build's writes left elsewhere.
#pragma once

#include "runtime/core.h"

namespace kesto {

// Whether files can be made in the folder: one is made there and removed again.
bool FolderWritable(const Text& folder);

// Windows kept an older build's writes to a file under Program Files in the user's VirtualStore
// (%LOCALAPPDATA%\VirtualStore\<the path without its drive>). That copy, when the file is
// missing or older, is moved into the file's place: read once, as the file. A copy older than
// the file is left alone. Nothing when the file's folder cannot be written, and on other
// systems.
void AdoptVirtualStoreCopy(const Text& file);

}  // namespace kesto
