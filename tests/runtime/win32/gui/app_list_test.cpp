// The installed-application list shows the tiles of a real app folder: one row per program
// file with its title and picture, as the list view holds them. Clicks on tiles are in the
// conformance scenarios.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include "apps/app_list.h"
#include "assets/artwork.h"
#include "layouts/names.h"
#include "runtime/win32/wide_text.h"
#include "shell/globals.h"
#include "tests/runtime/win32/gui/gui_support.h"
#include "tests/runtime/win32/temp_folder.h"

namespace kesto::testing {
namespace {

const ui::Ref kList{names::kMainWindow, "超级列表框1"};

class AppListTiles : public TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    CreateDirectoryW(Wide(L"app").c_str(), nullptr);
    AddApp("tool1", "商品采集", assets::kSampleTile1.ToBytes());
    AddApp("tool2", "订单打印", assets::kSampleTile2.ToBytes());
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(Wide().c_str());
  }
  void TearDown() override {
    CloseAndWait(names::kMainWindow);
    SetCurrentDirectoryW(previous_);
    TempFolder::TearDown();
  }

  void AddApp(const std::string& base, const Text& title, const Bytes& tile) {
    const std::wstring name = L"app\\" + win32::ToWide(base);
    WriteWide(name + L".qmz", "program");
    WriteWide(name + L".dat", "[ini]\r\nbt=" + title + "\r\n");
    WriteWide(name + L".gif", std::string(tile.begin(), tile.end()));
  }

  wchar_t previous_[MAX_PATH] = {};
};

std::wstring RowText(HWND list, int row) {
  wchar_t text[64] = {};
  ListView_GetItemText(list, row, 0, text, 64);
  return text;
}

TEST_F(AppListTiles, ShowEveryAppOfTheFolderWithItsTitleAndPicture) {
  HWND main = LoadAndShow(names::kMainWindow);
  ASSERT_NE(main, nullptr);
  ui::SetInt({names::kMainWindow, "选择夹1"}, ui::prop::tab::kCurrentPage, 3);
  apps::RefreshAppList();
  Pump(300);

  HWND list = reinterpret_cast<HWND>(ui::NativeHandle(kList));
  ASSERT_EQ(ListView_GetItemCount(list), 2);
  ASSERT_EQ(shell::InstalledApps.Count(), 2);
  for (int row = 0; row < 2; ++row) {
    const Text key = shell::InstalledApps[row + 1];
    EXPECT_EQ(RowText(list, row), win32::ToWide(key == "tool1" ? "商品采集" : "订单打印"));
  }
  HIMAGELIST images = ListView_GetImageList(list, LVSIL_NORMAL);
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 2);
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  EXPECT_EQ(width, 155);
  EXPECT_EQ(height, 140);
  EXPECT_EQ(ui::GetInt(kList, ui::prop::listview::kSelectedIndex), -1);
  Screenshot("main-window-app-tiles");
}

TEST_F(AppListTiles, InsertingAppendsAndAnUndecodablePictureLeavesTheListAsItWas) {
  ASSERT_NE(LoadAndShow(names::kMainWindow), nullptr);
  EXPECT_EQ(ui::ListInsertItem(kList, {}, "甲", -1, {}, {}, 0), 0);
  EXPECT_EQ(ui::ListInsertItem(kList, -5, "乙", -7, {}, {}, 0), 1);
  EXPECT_EQ(ui::ListInsertItem(kList, 0, "丙", 0, {}, {}, 0), 0);
  EXPECT_EQ(ui::ListItemCount(kList), 3);
  ui::ListDeleteAll(kList);
  EXPECT_EQ(ui::ListItemCount(kList), 0);

  Bytes images = ui::ImageListCreate(155, 140);
  const Bytes before = images;
  EXPECT_EQ(ui::ImageListAdd(images, Bytes{'n', 'o', 't'}), -1);
  EXPECT_EQ(images, before);
}

}  // namespace
}  // namespace kesto::testing
