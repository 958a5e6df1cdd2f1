// Folder entries and their emulated Windows attributes.
#include "runtime/posix/folder_entries.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace kesto::posix {

namespace {
Text OrderKey(const std::string& name) {
  return ToLower(name);
}
}  // namespace

std::optional<std::vector<std::string>> FolderEntries(const std::string& nativeFolder) {
  std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(nativeFolder.c_str()), closedir);
  if (!folder) return std::nullopt;
  std::vector<std::string> names;
  bool dot = false, dotDot = false;
  while (dirent* entry = readdir(folder.get())) {
    std::string name = entry->d_name;
    if (name == ".") {
      dot = true;
    } else if (name == "..") {
      dotDot = true;
    } else {
      names.push_back(std::move(name));
    }
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    Text keyA = OrderKey(a), keyB = OrderKey(b);
    return keyA != keyB ? keyA < keyB : a < b;
  });
  if (dotDot) names.insert(names.begin(), "..");
  if (dot) names.insert(names.begin(), ".");
  return names;
}

int EntryAttributes(const std::string& nativeFolder, const std::string& name) {
  std::string path = nativeFolder == "/" ? "/" + name : nativeFolder + "/" + name;
  struct stat info;
  // A dangling link still is an entry: it counts as a file.
  if (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0) return -1;
  int attributes = 0;
  if (S_ISDIR(info.st_mode)) attributes |= kAttrDirectory;
  if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)) attributes |= kAttrArchive;
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= kAttrHidden;
  if (!(info.st_mode & S_IWUSR)) attributes |= kAttrReadOnly;
  return attributes;
}

}  // namespace kesto::posix
