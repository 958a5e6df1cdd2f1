// The recursive listing of a folder that the installed-application scan walks.
#pragma once

#include "runtime/core.h"

namespace kesto::apps {

// Appends the path of every file below `folder` to `entries` and of every sub-folder to
// `subFolders`, depth first: a folder's sub-folders (and everything below them) come before its
// own files, each in the order the file system lists them.
void CollectFolderEntries(const Text& folder, Array<Text>& entries, Array<Text>& subFolders);

}  // namespace kesto::apps
