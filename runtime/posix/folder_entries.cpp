// Folder entries and their emulated Windows attributes.
#include "runtime/posix/folder_entries.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace kesto::posix {

namespace {

EntryKind KindOf(unsigned char type) {
  if (type == DT_DIR) return EntryKind::kFolder;
  if (type == DT_REG) return EntryKind::kFile;
  return EntryKind::kUnknown;
}

struct Entry {
  std::string name;
  Text orderKey;  // the name's ASCII letters lowered
  EntryKind kind;
};

}  // namespace

std::optional<std::vector<std::string>> FolderEntries(const std::string& nativeFolder,
                                                      std::vector<EntryKind>* kinds) {
  std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(nativeFolder.c_str()), closedir);
  if (!folder) return std::nullopt;
  std::vector<Entry> entries;
  bool dot = false, dotDot = false;
  while (dirent* entry = readdir(folder.get())) {
    std::string name = entry->d_name;
    if (name == ".") {
      dot = true;
    } else if (name == "..") {
      dotDot = true;
    } else {
      Text key = ToLower(name);
      entries.push_back({std::move(name), std::move(key), KindOf(entry->d_type)});
    }
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.orderKey != b.orderKey ? a.orderKey < b.orderKey : a.name < b.name;
  });
  std::vector<std::string> names;
  if (kinds) kinds->clear();
  auto add = [&](std::string name, EntryKind kind) {
    names.push_back(std::move(name));
    if (kinds) kinds->push_back(kind);
  };
  if (dot) add(".", EntryKind::kFolder);
  if (dotDot) add("..", EntryKind::kFolder);
  for (Entry& entry : entries) add(std::move(entry.name), entry.kind);
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
