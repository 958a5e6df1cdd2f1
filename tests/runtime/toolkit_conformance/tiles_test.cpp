// The installed-application tiles: pictures with captions in the list view, a click that
// selects a tile, a double click that activates it.
#include "assets/artwork.h"
#include "layouts/names.h"
#include "tests/runtime/toolkit_conformance/on_desktop.h"

namespace kesto::testing {
namespace {

using desktop::PumpUntil;

const ui::Ref kList{names::kMainWindow, "超级列表框1"};

int& ActivatedRow() {
  static int row = -2;
  return row;
}

class Tiles : public OnDesktop {
 protected:
  void SetUp() override {
    OnDesktop::SetUp();
    if (IsSkipped()) return;
    ActivatedRow() = -2;
    ui::RegisterHandler(names::kOnAppListActivated, [](const ui::EventArgs&) -> ui::EventResult {
      ActivatedRow() = ui::GetInt(kList, ui::prop::listview::kSelectedIndex);
      return {};
    });
    ASSERT_NE(desktop::LoadAndShow(names::kMainWindow), 0);
    ui::SetInt({names::kMainWindow, "选择夹1"}, ui::prop::tab::kCurrentPage, 3);
  }
  void TearDown() override { desktop::CloseAndWait(names::kMainWindow); }

  void ClickAt(desktop::Point at, int clicks) {
    desktop::XDo("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y));
    desktop::Pump(100);
    desktop::XDo("click --repeat " + std::to_string(clicks) + " --delay 80 1");
  }
};

TEST_F(Tiles, ShowPicturesWithCaptionsAClickSelectsAndADoubleClickActivates) {
  Bytes pictures = ui::ImageListCreate(155, 140);
  for (const ui::Picture* tile : {&assets::kSampleTile1, &assets::kSampleTile2}) {
    ASSERT_GE(ui::ImageListAdd(pictures, tile->ToBytes(), 0x808080), 0);
  }
  ui::SetBytes(kList, ui::prop::listview::kImageList, pictures);
  EXPECT_EQ(ui::ListInsertItem(kList, {}, "店铺助手", 0, {}, {}, 1), 0);
  EXPECT_EQ(ui::ListInsertItem(kList, {}, "订单打印", 1, {}, {}, 2), 1);
  EXPECT_EQ(ui::ListItemCount(kList), 2);
  EXPECT_EQ(ui::GetInt(kList, ui::prop::listview::kSelectedIndex), -1);

  desktop::Pump(500);  // the list lays its new tiles out
  const desktop::Point second = desktop::ListItemPoint(kList, 1);
  ASSERT_NE(second.x, 0);
  EXPECT_TRUE(PumpUntil([&] { return desktop::ScreenPixel(second.x, second.y) != 0xF6F6F6u; }))
      << "a picture is drawn";
  desktop::Screenshot("main-window-tiles");

  ClickAt(second, 1);
  EXPECT_TRUE(PumpUntil([&] { return ui::GetInt(kList, ui::prop::listview::kSelectedIndex) == 1; }))
      << "a click selects";
  desktop::Pump(500);
  EXPECT_EQ(ActivatedRow(), -2) << "a single click does not activate";
  // Past the double-click time, so that the next two presses are a double click of their own.
  desktop::Pump(desktop::kDoubleClickMs + 300);
  ClickAt(second, 2);
  EXPECT_TRUE(PumpUntil([] { return ActivatedRow() == 1; }));

  ui::ListDeleteAll(kList);
  EXPECT_EQ(ui::ListItemCount(kList), 0);
  EXPECT_EQ(ui::GetInt(kList, ui::prop::listview::kSelectedIndex), -1);
}

}  // namespace
}  // namespace kesto::testing
