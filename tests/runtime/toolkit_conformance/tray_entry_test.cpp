// The main window's entry in the session's notification area: hiding the window to it, a click
// bringing it back centred, the codes of the clicks as the program expects them, the tray menu
// popped up and chosen from while the window stays hidden.
#include <cstdlib>

#include "assets/artwork.h"
#include "layouts/names.h"
#include "tests/recording_handlers/recording_handlers.h"
#include "tests/runtime/toolkit_conformance/drag.h"
#include "tests/runtime/toolkit_conformance/on_desktop.h"
#include "tests/runtime/toolkit_conformance/tray_handlers.h"

namespace kesto::testing {
namespace {

using desktop::PumpUntil;

const ui::Ref kMain{names::kMainWindow, ""};

class TrayEntry : public OnDesktop {
 protected:
  void SetUp() override {
    OnDesktop::SetUp();
    if (IsSkipped()) return;
    TrayCodes().clear();
    ReachedHandlers().clear();
    RegisterTrayHandlers();
    RecordUnder(names::kOnExitChosen);
    main_ = desktop::LoadAndShow(names::kMainWindow);
    ASSERT_NE(main_, 0);
    ASSERT_TRUE(ui::TrayAvailable());
    ui::SetTrayIcon(names::kMainWindow, assets::kPlatformIcon.ToBytes(), "Kesto应用平台V1.1");
    entry_ = desktop::WaitForTrayEntry();
    ASSERT_NE(entry_.x, 0) << "no entry docked in the notification area";
    desktop::Screenshot("tray-with-entry");
  }
  void TearDown() override {
    ui::SetTrayIcon(names::kMainWindow);
    desktop::CloseAndWait(names::kMainWindow);
  }

  void ClickEntry(int button, int clicks = 1) {
    desktop::XDo("mousemove " + std::to_string(entry_.x) + " " + std::to_string(entry_.y));
    desktop::XDo("click --repeat " + std::to_string(clicks) + " --delay 80 " +
                 std::to_string(button));
  }

  void HideByButton() {
    const desktop::Point button = desktop::ControlPoint({names::kMainWindow, "图形按钮2"}, 22, 21);
    desktop::XDo("mousemove " + std::to_string(button.x) + " " + std::to_string(button.y) +
                 " click 1");
    ASSERT_TRUE(PumpUntil([&] { return !desktop::IsShown(main_); }));
  }

  native::Handle main_ = 0;
  desktop::Point entry_;
};

TEST_F(TrayEntry, HideButtonHidesTheWindowAndALeftClickBringsItBackCentred) {
  // Dragged away first, as a user would.
  desktop::Drag(desktop::ControlPoint({names::kMainWindow, "标签1"}, 500, 14), -100, -150);
  ASSERT_TRUE(PumpUntil([&] {
    native::Rect rect;
    native::GetWindowRect(main_, rect);
    return rect.left < 40 && rect.top < 40;
  }));
  HideByButton();
  ClickEntry(1);
  EXPECT_TRUE(PumpUntil([&] { return desktop::IsShown(main_); }));
  EXPECT_EQ(TrayCodes(), std::vector<int>{1});
  const auto centred = [&] {
    native::Rect rect;
    native::GetWindowRect(main_, rect);
    return std::abs(rect.left - (desktop::kScreenWidth - 1024) / 2) <= 2 &&
           std::abs(rect.top - (desktop::kScreenHeight - 658) / 2) <= 40;
  };
  EXPECT_TRUE(PumpUntil(centred));
  EXPECT_FALSE(desktop::IsMinimised(main_));
  desktop::Screenshot("tray-restored");
}

TEST_F(TrayEntry, DoubleClickReportsTheLeftUpsAndTheDoubleClick) {
  ClickEntry(1, 2);
  PumpUntil([] { return TrayCodes().size() >= 3; });
  EXPECT_EQ(TrayCodes(), (std::vector<int>{1, 2, 1}));
}

TEST_F(TrayEntry, RightClickPopsUpTheMenuWhileTheWindowStaysHidden) {
  HideByButton();
  // A click beside the menu closes it without a choice. (On Windows the menu has a loop of its
  // own, which the right click returns from only when the menu has gone.)
  desktop::ClickTrayMenuWhenShown(false);
  ClickEntry(3);
  EXPECT_TRUE(PumpUntil([] { return !TrayCodes().empty(); }));
  desktop::Pump(1000);
  EXPECT_TRUE(PumpUntil([] { return !desktop::TrayMenuShown(); }));
  EXPECT_EQ(TrayCodes(), std::vector<int>{3});
  EXPECT_EQ(CountReached(names::kOnExitChosen), 0);

  desktop::ClickTrayMenuWhenShown(true);
  ClickEntry(3);
  EXPECT_TRUE(PumpUntil([] { return CountReached(names::kOnExitChosen) == 1; }));
  EXPECT_TRUE(PumpUntil([] { return !desktop::TrayMenuShown(); }));
  EXPECT_EQ(TrayCodes(), (std::vector<int>{3, 3}));
  EXPECT_FALSE(desktop::IsShown(main_)) << "the window stays hidden";
}
}  // namespace
}  // namespace kesto::testing
