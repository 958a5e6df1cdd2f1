#include "apps/folder_scan.h"

#include <algorithm>
#include <vector>

#include "apps/path_helpers.h"

namespace kesto::apps {

namespace {

// Every name one listing of `pattern` gives, the listing closed again before returning.
std::vector<Text> ListNames(const Text& pattern, int attributeMask, bool filesOnly) {
  std::vector<Text> names;
  FindHandle handle = 0;
  for (Text name = FindFiles(pattern, attributeMask, filesOnly, handle); !name.empty();
       name = FindFiles("", attributeMask, filesOnly, handle)) {
    names.push_back(name);
  }
  CloseFind(handle);
  return names;
}

// A folder whose sub-folders are being walked: the ones still to visit, in reverse order.
struct PendingFolder {
  Text path;
  Text identity;
  std::vector<Text> subFoldersLeft;
};

PendingFolder Open(const Text& folder, Text identity) {
  PendingFolder pending{NormalisePath(folder), std::move(identity), {}};
  for (Text& name : ListNames(pending.path + "\\*.*", kAttrDirectory, false)) {
    if (name != "." && name != "..") pending.subFoldersLeft.push_back(std::move(name));
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
    for (const Text& name : ListNames(top.path + "\\*.*", 0, true)) {
      entries.Append(top.path + "\\" + name);
    }
    stack.pop_back();
  }
}

}  // namespace kesto::apps
