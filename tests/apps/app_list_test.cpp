// The installed-application list built from the app folder, on the headless main window.
#include "apps/app_list.h"

#include <gtest/gtest.h>

#include "layouts/names.h"
#include "runtime/headless/controls.h"
#include "shell/globals.h"
#include "shell/window_refs.h"
#include "tests/program/temp_program_folder.h"
#include "tests/runtime/names_in_many_scripts.h"

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

TEST_F(AppListTest, ListsApplicationFilesSubFoldersFirstWithTitlesAndPicturesBesideThem) {
  folder_.AddApp("tools", "x", "工具X", true);
  folder_.AddApp(Utf8(u8"中文目录"), "d", "中文", true);
  folder_.AddApp("", "a.b", "", false);  // base name "a": a.dat and a.gif count
  folder_.Write("app/a.dat", "[ini]\r\nbt=应用A\r\n");
  folder_.Write("app/a.gif", testing::kTinyGif);
  folder_.AddApp("", "d", "", false);  // the same base name again, without companions
  folder_.AddApp("", "e", "有标题", false);
  folder_.Write("app/e.gif", "GIF89a but broken");
  folder_.Write("app/y.QMZ", "not an application");
  folder_.MakeFolder("app/z.qmz");

  RefreshAppList();

  EXPECT_EQ(Keys(), (std::vector<Text>{"x", "d", "a", "d", "e"}));
  EXPECT_EQ(Captions(), (std::vector<Text>{"工具X", "中文", "应用A", "", "有标题"}));
  std::vector<int> pictures;
  for (const headless::Row& row : headless::Rows(refs::kAppList)) pictures.push_back(row.iconIndex);
  EXPECT_EQ(pictures, (std::vector<int>{0, 1, 2, -1, -1}));
}

// A program folder, and a tool's folder, named in any script; the tool deep enough for its
// path to pass 260 characters.
TEST_F(AppListTest, AProgramFolderInAnyScriptListsItsTiles) {
  std::string deep;
  for (int i = 0; i < 10; ++i) deep += "/" + std::string(25, static_cast<char>('a' + i));
  for (std::u8string_view script : testing::kNamesInManyScripts) {
    const std::string name(script.begin(), script.end());
    SCOPED_TRACE(name);
    TempProgramFolder folder(name + "-");
    folder.AddApp(name + deep, "tool", "", true);
    folder.AddApp("", "memo", "备忘录", true);
    RefreshAppList();
    EXPECT_EQ(Keys(), (std::vector<Text>{"tool", "memo"}));
    EXPECT_EQ(Captions(), (std::vector<Text>{"", "备忘录"}));
    std::vector<int> pictures;
    for (const headless::Row& row : headless::Rows(refs::kAppList)) {
      pictures.push_back(row.iconIndex);
    }
    EXPECT_EQ(pictures, (std::vector<int>{0, 1}));
  }
}

TEST_F(AppListTest, RefreshingAgainRebuildsInsteadOfAppending) {
  RefreshAppList();  // no app folder yet
  EXPECT_TRUE(Keys().empty());
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

TEST_F(AppListTest, LinkLoopsAreNotFollowedRoundAndDeepTreesAreWalkedToTheBottom) {
  folder_.AddApp("loop", "k", "K", false);
  std::error_code error;
  std::filesystem::create_directory_symlink(folder_ / "app/loop", folder_ / "app/loop/again",
                                            error);
  if (error == std::errc::function_not_supported) {
    GTEST_SKIP() << "this system makes no links to folders";
  }
  ASSERT_FALSE(error) << error.message();
  std::filesystem::create_directory_symlink(folder_ / "app", folder_ / "app/loop/up");
  std::string deep;
  for (int level = 0; level < 120; ++level) deep += "d/";
  folder_.AddApp(deep + "bottom", "deep", "", false);

  RefreshAppList();

  EXPECT_EQ(Keys(), (std::vector<Text>{"deep", "k"}));
}

}  // namespace
}  // namespace kesto::apps
