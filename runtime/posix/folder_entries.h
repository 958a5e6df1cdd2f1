// Reading a folder's entries the way the Windows file search reports them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runtime/core.h"

namespace kesto::posix {

// Entry names of a native folder: "." and ".." first, then the rest in a fixed order (ASCII
// letters without regard to case, then bytes). Nothing when the folder cannot be read.
std::optional<std::vector<std::string>> FolderEntries(const std::string& nativeFolder);

// Windows attribute bits of an entry: folder; hidden for a name beginning with a dot;
// read-only without the owner's write permission; archive for a file. -1 when it is gone.
int EntryAttributes(const std::string& nativeFolder, const std::string& name);

}  // namespace kesto::posix
