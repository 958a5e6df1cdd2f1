// The borderless main window on a real desktop: where it comes up and what it shows, dragging it
// by its banner or title, hiding it and bringing it back as the tray does.
#include <cstdlib>

#include "layouts/names.h"
#include "tests/runtime/toolkit_conformance/drag.h"
#include "tests/runtime/toolkit_conformance/on_desktop.h"

namespace kesto::testing {
namespace {

using desktop::ControlPoint;
using desktop::kScreenHeight;
using desktop::kScreenWidth;
using desktop::PumpUntil;
using desktop::ScreenPixel;

constexpr std::uint32_t kBannerBlue = 0x11B8FF;
const ui::Ref kMain{names::kMainWindow, ""};
const ui::Ref kPages{names::kMainWindow, "选择夹1"};

native::Rect RectOf(native::Handle window) {
  native::Rect rect;
  native::GetWindowRect(window, rect);
  return rect;
}

class BorderlessMainWindow : public OnDesktop {
 protected:
  void SetUp() override {
    OnDesktop::SetUp();
    if (IsSkipped()) return;
    main_ = desktop::LoadAndShow(names::kMainWindow);
    ASSERT_NE(main_, 0);
  }
  void TearDown() override { desktop::CloseAndWait(names::kMainWindow); }

  native::Handle main_ = 0;
};

TEST_F(BorderlessMainWindow, ComesUpCentredWithTheBannerAboveItsPages) {
  const native::Rect rect = RectOf(main_);
  EXPECT_EQ(rect.right - rect.left, 1024);
  EXPECT_EQ(rect.bottom - rect.top, 658);
  // No frame: the client area itself sits in the middle of the screen.
  EXPECT_NEAR(rect.left, (kScreenWidth - 1024) / 2, 1);
  EXPECT_NEAR(rect.top, (kScreenHeight - 658) / 2, 1);
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(rect.left + 600, rect.top + 3) == kBannerBlue; }))
      << "the title banner";
  desktop::Screenshot("main-window-browser-page");

  ui::SetInt(kPages, ui::prop::tab::kCurrentPage, 3);
  EXPECT_EQ(ui::GetInt(kPages, ui::prop::tab::kCurrentPage), 3);
  const desktop::Point list = ControlPoint({names::kMainWindow, "超级列表框1"}, 400, 300);
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(list.x, list.y) == 0xF6F6F6u; }))
      << "the empty list";
  desktop::Screenshot("main-window-installed-apps-page");
  const desktop::Point hint = ControlPoint({names::kMainWindow, "标签4"}, 8, 20);
  EXPECT_EQ(ScreenPixel(hint.x, hint.y), 0xECECECu) << "the hint bar";
}

TEST_F(BorderlessMainWindow, DraggingTheBannerOrTheTitleMovesTheWindow) {
  for (const char* grabbed : {"_标题", "标签1"}) {
    SCOPED_TRACE(grabbed);
    const native::Rect before = RectOf(main_);
    const desktop::Point grab = ControlPoint({names::kMainWindow, grabbed}, 500, 14);
    desktop::Drag(grab, -50, 40);
    // The window follows the pointer in steps; it has arrived when it sits where the pointer
    // took it.
    PumpUntil(
        [&] {
          const native::Rect now = RectOf(main_);
          return now.left - before.left <= -47 && now.top - before.top >= 37;
        },
        10000);
    const native::Rect after = RectOf(main_);
    EXPECT_NEAR(after.left - before.left, -50, 3);
    EXPECT_NEAR(after.top - before.top, 40, 3);
  }
  desktop::Screenshot("main-window-dragged");
}

TEST_F(BorderlessMainWindow, HiddenItStaysHiddenWhenMinimisedAndComesBackCentredAndNormal) {
  ui::SetBool(kMain, ui::prop::kVisible, false);
  EXPECT_TRUE(PumpUntil([&] { return !desktop::IsShown(main_); }));
  ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateMinimised);
  desktop::Pump(500);
  EXPECT_FALSE(desktop::IsShown(main_)) << "a hidden window stays hidden";
  EXPECT_FALSE(ui::GetBool(kMain, ui::prop::kVisible));
  EXPECT_EQ(ui::GetInt(kMain, ui::prop::window::kWindowState), ui::kStateMinimised);

  // Brought back the way the tray does, from wherever it was: centred, then visible.
  ui::SetInt(kMain, ui::prop::kLeft, 10);
  ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateCentred);
  ui::SetBool(kMain, ui::prop::kVisible, true);
  EXPECT_TRUE(PumpUntil([&] { return desktop::IsShown(main_); }));
  EXPECT_TRUE(PumpUntil([&] {
    return std::abs(RectOf(main_).left - (kScreenWidth - 1024) / 2) <= 1 &&
           std::abs(RectOf(main_).top - (kScreenHeight - 658) / 2) <= 1;
  })) << "left "
      << RectOf(main_).left << ", top " << RectOf(main_).top;
  EXPECT_FALSE(desktop::IsMinimised(main_));

  // Minimised while on screen.
  ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateMinimised);
  EXPECT_TRUE(PumpUntil([&] { return desktop::IsMinimised(main_); }));
  EXPECT_EQ(ui::GetInt(kMain, ui::prop::window::kWindowState), ui::kStateMinimised);
}

}  // namespace
}  // namespace kesto::testing
