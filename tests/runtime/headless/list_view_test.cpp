// The ListView methods and the selection.
#include <gtest/gtest.h>

#include "headless_support.h"

namespace kesto {
namespace {

namespace prop = ui::prop;
const ui::Ref kList{names::kMainWindow, "超级列表框1"};

class HeadlessListView : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::StartRecording();
    ui::LoadWindow(names::kMainWindow);
  }
};

TEST_F(HeadlessListView, AppendsWhenThePositionIsOmittedNegativeOrBeyondTheEnd) {
  EXPECT_EQ(ui::ListItemCount(kList), 0);
  EXPECT_EQ(ui::ListInsertItem(kList, {}, "甲", 0, {}, {}, 10), 0);
  EXPECT_EQ(ui::ListInsertItem(kList, -1, "乙", 1), 1);
  EXPECT_EQ(ui::ListInsertItem(kList, 9, "丙"), 2);
  EXPECT_EQ(ui::ListInsertItem(kList, 0, "丁"), 0);
  EXPECT_EQ(ui::ListItemCount(kList), 4);
  std::vector<headless::Row> rows = headless::Rows(kList);
  EXPECT_EQ(rows[0].caption, "丁");
  EXPECT_EQ(rows[1].caption, "甲");
  EXPECT_EQ(rows[1].itemValue, 10);
  EXPECT_EQ(rows[2].iconIndex, 1);
  EXPECT_EQ(rows[3].iconIndex, -1);
}

TEST_F(HeadlessListView, OutOfRangeIconAndIndentAreBroughtIntoRange) {
  ui::ListInsertItem(kList, {}, "甲", -7, 2, -3, 5);
  headless::Row row = headless::Rows(kList)[0];
  EXPECT_EQ(row.iconIndex, -1);
  EXPECT_EQ(row.indent, 0);
  EXPECT_EQ(row.stateImageIndex, 2);
}

TEST_F(HeadlessListView, SelectionFollowsItsRowAndGoesWithTheRows) {
  for (const char* caption : {"甲", "乙", "丙"}) ui::ListInsertItem(kList, {}, caption);
  headless::SelectRow(kList, 1);
  ui::ListInsertItem(kList, 0, "丁");
  EXPECT_EQ(ui::GetInt(kList, prop::listview::kSelectedIndex), 2);
  ui::ListInsertItem(kList, {}, "戊");
  EXPECT_EQ(ui::GetInt(kList, prop::listview::kSelectedIndex), 2);
  ui::SetInt(kList, prop::listview::kSelectedIndex, 7);
  EXPECT_EQ(ui::GetInt(kList, prop::listview::kSelectedIndex), -1);
  ui::SetInt(kList, prop::listview::kSelectedIndex, 4);
  ui::ListDeleteAll(kList);
  EXPECT_EQ(ui::ListItemCount(kList), 0);
  EXPECT_EQ(ui::GetInt(kList, prop::listview::kSelectedIndex), -1);
}

TEST_F(HeadlessListView, ImageListIsStoredAsWritten) {
  Bytes list = ui::ImageListCreate(155, 140);
  ui::SetBytes(kList, prop::listview::kImageList, list);
  EXPECT_EQ(ui::GetBytes(kList, prop::listview::kImageList), list);
}

}  // namespace
}  // namespace kesto
