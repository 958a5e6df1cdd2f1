#include "apps/app_list.h"

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

  Bytes imageList = ui::ImageListCreate(kTileWidth, kTileHeight);
  std::vector<Row> rows;
  for (const Text& path : entries) {
    if (TextAfterSeparator(path, ".") != "qmz") continue;
    Text folder = ParentFolderOf(path);
    Text base = FileNameOf(path, true);
    Text title = ReadIniValue(folder + "\\" + base + ".dat", "ini", "bt");
    Bytes picture = ReadFileBytes(folder + "\\" + base + ".gif");
    int pictureIndex = ui::ImageListAdd(imageList, picture, kTileTransparentColour);
    rows.push_back({std::move(title), pictureIndex});
    apps.Append(base);
  }
  ui::SetBytes(refs::kAppList, ui::prop::listview::kImageList, imageList);
  for (const Row& row : rows) {
    ui::ListInsertItem(refs::kAppList, {}, row.title, row.pictureIndex, {}, {}, 0);
  }
}

}  // namespace kesto::apps
