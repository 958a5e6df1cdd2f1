// The installed-application list built from the app folder, on the headless main window.
#include "apps/app_list.h"

#include <gtest/gtest.h>

#include "apps/folder_scan.h"
#include "layouts/names.h"
#include "runtime/headless/controls.h"
#include "shell/globals.h"
#include "shell/window_refs.h"
#include "tests/program/temp_program_folder.h"

namespace kesto::apps {
namespace {

using testing::TempProgramFolder;
using testing::Utf8;

class AppListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::ResetAll();
    shell::InitGlobals();
    ui::LoadWindow(names::kMainWindow);
  }
  void TearDown() override {
    headless::ResetAll();
    shell::ReleaseGlobals();
  }
  std::vector<Text> Captions() const {
    std::vector<Text> captions;
    for (const headless::Row& row : headless::Rows(refs::kAppList)) captions.push_back(row.caption);
    return captions;
  }
  std::vector<Text> Keys() const { return shell::InstalledApps.Items(); }

  TempProgramFolder folder_;
};

TEST_F(AppListTest, ListsApplicationFilesBySubFoldersFirstWithTheirTitlesAndPictures) {
  folder_.AddApp("tools", "x", "工具X", true);
  folder_.AddApp("", "a.b", "", false);  // base name "a": a.dat and a.gif count
  folder_.Write("app/a.dat", "[ini]\r\nbt=应用A\r\n");
  folder_.Write("app/a.gif", testing::kTinyGif);
  folder_.Write("app/y.QMZ", "not an application");
  folder_.MakeFolder("app/z.qmz");
  folder_.Write("app/notes.txt", "");

  RefreshAppList();

  EXPECT_EQ(Keys(), (std::vector<Text>{"x", "a"}));
  EXPECT_EQ(Captions(), (std::vector<Text>{"工具X", "应用A"}));
  std::vector<headless::Row> rows = headless::Rows(refs::kAppList);
  EXPECT_EQ(rows[0].iconIndex, 0);
  EXPECT_EQ(rows[1].iconIndex, 1);
}

TEST_F(AppListTest, KeepsRowsAndKeysInStepForEqualNamesMissingFilesAndBadPictures) {
  folder_.AddApp("one", "d", "第一", true);
  folder_.AddApp("", "d", "", false);
  folder_.AddApp("", "e", "有标题", false);
  folder_.Write("app/e.gif", "GIF89a but broken");
  folder_.AddApp(Utf8(u8"中文目录"), "f", "中文", true);

  RefreshAppList();

  // Sub-folders (in the listing's order) before the app folder's own files.
  EXPECT_EQ(Keys(), (std::vector<Text>{"d", "f", "d", "e"}));
  std::vector<headless::Row> rows = headless::Rows(refs::kAppList);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].caption, "第一");
  EXPECT_EQ(rows[1].caption, "中文");
  EXPECT_EQ(rows[2].caption, "");
  EXPECT_EQ(rows[2].iconIndex, -1);
  EXPECT_EQ(rows[3].caption, "有标题");
  EXPECT_EQ(rows[3].iconIndex, -1);
}

TEST_F(AppListTest, RefreshingAgainRebuildsInsteadOfAppending) {
  folder_.AddApp("", "p", "P", true);
  RefreshAppList();
  RefreshAppList();
  EXPECT_EQ(Keys(), (std::vector<Text>{"p"}));
  EXPECT_EQ(headless::Rows(refs::kAppList).size(), 1u);

  std::filesystem::remove(folder_ / "app/p.qmz");
  RefreshAppList();
  EXPECT_TRUE(Keys().empty());
  EXPECT_EQ(ui::ListItemCount(refs::kAppList), 0);
}

TEST_F(AppListTest, NoAppFolderGivesAnEmptyList) {
  RefreshAppList();
  EXPECT_TRUE(Keys().empty());
  EXPECT_EQ(ui::ListItemCount(refs::kAppList), 0);
}

TEST_F(AppListTest, LinkLoopsAreNotFollowedRoundAndDeepTreesAreWalkedToTheBottom) {
  folder_.AddApp("loop", "k", "K", false);
  std::filesystem::create_directory_symlink(folder_ / "app/loop", folder_ / "app/loop/again");
  std::filesystem::create_directory_symlink(folder_ / "app", folder_ / "app/loop/up");
  std::string deep;
  for (int level = 0; level < 120; ++level) deep += "d/";
  folder_.AddApp(deep + "bottom", "deep", "", false);

  RefreshAppList();

  EXPECT_EQ(Keys(), (std::vector<Text>{"deep", "k"}));
}

TEST(CollectFolderEntries, GivesEverySubFolderAndEveryFileDepthFirst) {
  TempProgramFolder folder;
  folder.Write("top/b/inner.txt", "");
  folder.Write("top/a/.hidden", "");
  folder.Write("top/file", "");
  Array<Text> entries, subFolders;
  Text top = CurrentDirectory() + "\\top\\";  // a trailing backslash is dropped
  CollectFolderEntries(top, entries, subFolders);
  Text base = CurrentDirectory() + "\\top";
  EXPECT_EQ(subFolders.Items(), (std::vector<Text>{base + "\\a", base + "\\b"}));
  EXPECT_EQ(entries.Items(),
            (std::vector<Text>{base + "\\a\\.hidden", base + "\\b\\inner.txt", base + "\\file"}));
}

}  // namespace
}  // namespace kesto::apps
