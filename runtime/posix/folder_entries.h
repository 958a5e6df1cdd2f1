// Reading a folder's entries the way the Windows file search reports them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runtime/core.h"

namespace kesto::posix {

// What the folder listing itself tells about an entry; kUnknown (a link, or a file system that
// does not say) needs a look at the entry.
enum class EntryKind { kUnknown, kFolder, kFile };

// Entry names of a native folder: "." and ".." first, then the rest in a fixed order (ASCII
// letters without regard to case, then bytes). Nothing when the folder cannot be read. With
// `kinds`, the kind of each name, in the same order.
std::optional<std::vector<std::string>> FolderEntries(const std::string& nativeFolder,
                                                      std::vector<EntryKind>* kinds = nullptr);

// Windows attribute bits of an entry: folder; hidden for a name beginning with a dot;
// read-only without the owner's write permission; archive for a file. -1 when it is gone.
int EntryAttributes(const std::string& nativeFolder, const std::string& name);

}  // namespace kesto::posix
