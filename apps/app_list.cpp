#include "apps/app_list.h"

#include <unordered_set>
#include <vector>

#include "apps/folder_scan.h"
#include "apps/path_helpers.h"
#include "shell/globals.h"
#include "shell/window_refs.h"

namespace kesto::apps {

namespace {

constexpr int kTileWidth = 155;
constexpr int kTileHeight = 140;
// Pixels of this grey are transparent in the tiles.
constexpr std::uint32_t kTileTransparentColour = 0x808080;

struct Row {
  Text title;
  int pictureIndex;
};

// The info and icon files the scan found, compared without regard to ASCII case as Windows
// compares names. A companion file that is not among them cannot be read, so no attempt is made.
class CompanionFiles {
 public:
  explicit CompanionFiles(const Array<Text>& entries) {
    for (const Text& path : entries) {
      Text extension = ToLower(RightText(path, 4));
      if (extension == ".dat" || extension == ".gif") paths_.insert(ToLower(path));
    }
  }
  bool Holds(const Text& path) const { return !paths_.empty() && paths_.count(ToLower(path)) != 0; }

 private:
  std::unordered_set<Text> paths_;
};

}  // namespace

// The image list is handed to the list once, before the rows that use it: handing the growing
// list over after every picture would copy it once per application.
void RefreshAppList() {
  ui::ListDeleteAll(refs::kAppList);
  Array<Text>& apps = shell::InstalledApps;
  apps.Clear();
  Array<Text> entries;
  Array<Text> subFolders;
  CollectFolderEntries(CurrentDirectory() + "\\app", entries, subFolders);

  const CompanionFiles companions(entries);
  Bytes imageList = ui::ImageListCreate(kTileWidth, kTileHeight);
  std::vector<Row> rows;
  for (const Text& path : entries) {
    if (TextAfterSeparator(path, ".") != "qmz") continue;
    Text folder = ParentFolderOf(path);
    Text base = FileNameOf(path, true);
    Text infoFile = folder + "\\" + base + ".dat";
    Text iconFile = folder + "\\" + base + ".gif";
    Text title = companions.Holds(infoFile) ? ReadIniValue(infoFile, "ini", "bt") : Text{};
    Bytes picture = companions.Holds(iconFile) ? ReadFileBytes(iconFile) : Bytes{};
    int pictureIndex = ui::ImageListAdd(imageList, picture, kTileTransparentColour);
    rows.push_back({std::move(title), pictureIndex});
    apps.Append(base);
  }
  ui::SetProperty(refs::kAppList, ui::prop::listview::kImageList, ui::Value{std::move(imageList)});
  for (const Row& row : rows) {
    ui::ListInsertItem(refs::kAppList, {}, row.title, row.pictureIndex, {}, {}, 0);
  }
}

}  // namespace kesto::apps
