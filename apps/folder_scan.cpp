#include "apps/folder_scan.h"

#include <algorithm>
#include <vector>

#include "apps/path_helpers.h"

namespace kesto::apps {

namespace {

// A folder whose sub-folders are being walked: the ones still to visit, in reverse order, and
// its own files, which are listed once its sub-folders are done. One listing of the folder gives
// both.
struct PendingFolder {
  Text path;
  Text identity;
  std::vector<Text> subFoldersLeft;
  std::vector<Text> files;
};

PendingFolder Open(const Text& folder, Text identity) {
  PendingFolder pending{NormalisePath(folder), std::move(identity), {}, {}};
  for (ListedEntry& entry : ListFolder(pending.path + "\\*.*")) {
    if (!entry.folder) {
      pending.files.push_back(std::move(entry.name));
    } else if (entry.name != "." && entry.name != "..") {
      pending.subFoldersLeft.push_back(std::move(entry.name));
    }
  }
  std::reverse(pending.subFoldersLeft.begin(), pending.subFoldersLeft.end());
  return pending;
}

// A link back to a folder that is being walked would lead round in circles.
bool IsBeingWalked(const std::vector<PendingFolder>& stack, const Text& identity) {
  return std::any_of(stack.begin(), stack.end(),
                     [&](const PendingFolder& folder) { return folder.identity == identity; });
}

}  // namespace

// Walked with an explicit stack, and each folder's listing is read whole and closed before
// going deeper, so a deep tree needs neither a deep call stack nor one open listing per level.
// A sub-folder that leads back to one of the folders being walked is listed but not entered.
void CollectFolderEntries(const Text& folder, Array<Text>& entries, Array<Text>& subFolders) {
  std::vector<PendingFolder> stack;
  stack.push_back(Open(folder, FolderIdentity(folder)));
  while (!stack.empty()) {
    PendingFolder& top = stack.back();
    if (!top.subFoldersLeft.empty()) {
      Text child = top.path + "\\" + top.subFoldersLeft.back();
      top.subFoldersLeft.pop_back();
      subFolders.Append(child);
      Text identity = FolderIdentity(child);
      if (!identity.empty() && IsBeingWalked(stack, identity)) continue;
      stack.push_back(Open(child, std::move(identity)));
      continue;
    }
    for (const Text& name : top.files) entries.Append(top.path + "\\" + name);
    stack.pop_back();
  }
}

}  // namespace kesto::apps
