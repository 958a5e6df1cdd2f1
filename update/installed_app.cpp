#include "update/installed_app.h"

#include "apps/folder_scan.h"
#include "apps/path_helpers.h"

namespace kesto::update {

Text AppFolder() {
  return CurrentDirectory() + "\\app";
}

Text FindInstalledApp(const Text& key) {
  Array<Text> entries;
  Array<Text> subFolders;
  apps::CollectFolderEntries(AppFolder(), entries, subFolders);
  for (const Text& path : entries) {
    if (apps::TextAfterSeparator(path, ".") == "qmz" && apps::FileNameOf(path, true) == key) {
      return path;
    }
  }
  return "";
}

}  // namespace kesto::update
