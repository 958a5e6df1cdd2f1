// What only GTK's tray entry in trayer's XEmbed notification area shows: a window hidden by its
// own process and mapped from outside, the cut tip, the area going away. Hiding to the entry,
// its clicks and its menu are in the conformance scenarios.
#include <gtest/gtest.h>

#include "runtime/posix/native_text.h"
#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/gui_windows.h"
#include "tests/runtime/gtk/tray_support.h"
#include "tests/runtime/gtk/x_session.h"
#include "tests/runtime/toolkit_conformance/desktop.h"

namespace kesto::testing {
namespace {

class Tray : public TrayFixture {
 protected:
  void SetUp() override {
    TrayFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_NE(desktop::WaitForTrayEntry().x, 0) << "the entry is in the notification area";
  }

  void HideByButton() {
    const Point button = ScreenPoint(names::kMainWindow, "图形按钮2", 22, 21);
    XDo({"mousemove", std::to_string(button.x), std::to_string(button.y)});
    XDo({"click", "1"});
    ASSERT_TRUE(PumpUntil([&] { return !IsMapped(handle_); }));
  }
};

// A second start maps the window from outside; the window was hidden by its own process, so
// GTK takes it for hidden and would unmap it again.
TEST_F(Tray, AWindowItsProcessHidShowsForGoodWhenAnotherProgramMapsIt) {
  HideByButton();
  // A second start comes long after the hide; a map within moments of it is taken for the
  // window manager's late answer to the hide, and this one must not be.
  Pump(1000);
  ASSERT_TRUE(XDo({"windowmap", std::to_string(handle_)}));
  EXPECT_TRUE(PumpUntil([&] { return IsMapped(handle_); }));
  Pump(1000);
  EXPECT_TRUE(IsMapped(handle_)) << "still on screen a second later";
  EXPECT_FALSE(IsIconic(handle_));
  EXPECT_TRUE(ui::GetBool(kMain, ui::prop::kVisible)) << "the program sees it shown";
  Screenshot("tray-mapped-from-outside");
}

TEST_F(Tray, ALongTipIsCutWithoutSplittingACharacter) {
  Text tip = "a";
  for (int i = 0; i < 40; ++i) tip += "平";
  ui::SetTrayIcon(names::kMainWindow, ui::GetBytes(kMain, ui::prop::window::kIcon), tip);
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gchar* shown = gtk_status_icon_get_tooltip_text(XEmbedEntry());
  G_GNUC_END_IGNORE_DEPRECATIONS
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(std::string(shown), posix::GbkToUtf8(tip.substr(0, 61)));
  g_free(shown);
}

TEST_F(Tray, RemovedEntryLeavesTheAreaAndTheAreaGoingIsNoticed) {
  ui::SetTrayIcon(names::kMainWindow);
  EXPECT_EQ(XEmbedEntry(), nullptr);
  ui::SetTrayIcon(names::kMainWindow);  // removing what is not there does nothing
  EXPECT_TRUE(ui::TrayAvailable());
  CurrentXSession()->StopTray();
  EXPECT_FALSE(ui::TrayAvailable());
  // With no tray to come back from, hiding keeps the window reachable: it is minimised.
  HideToTray({});
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(handle_); }));
}

}  // namespace
}  // namespace kesto::testing
