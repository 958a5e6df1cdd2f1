#include "tools/updater/installed_app.h"

#include "apps/folder_scan.h"
#include "apps/path_helpers.h"
#include "net/updater_contract.h"

namespace kesto::updater {

namespace {
constexpr int kMaxKeyLength = 64;
}

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

bool IsInstallableKey(const Text& key) {
  if (!net::IsSafeAppKey(key) || TextLength(key) > kMaxKeyLength) return false;
  for (unsigned char byte : key) {
    if (byte < 0x20) return false;
  }
  // A "." would make the list know the application by a shorter name than the key.
  for (const char* unsafe : {".", "\\", "/", ":", "*", "?", "\"", "<", ">", "|"}) {
    if (FindText(key, unsafe) != -1) return false;
  }
  return true;
}

}  // namespace kesto::updater
