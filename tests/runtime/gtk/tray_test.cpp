// The tray entry in trayer's XEmbed notification area, on a desktop with no StatusNotifier host:
// hiding to it, bringing the window back with a click, the pop-up menu on a right click while
// the window stays hidden.
#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/posix/native_text.h"
#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/gui_windows.h"
#include "tests/runtime/gtk/tray_support.h"
#include "tests/runtime/gtk/x_session.h"

namespace kesto::testing {
namespace {

bool MenuShown() {
  bool shown = false;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w; w = w->next) {
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(w->data));
    shown |= gtk_widget_get_mapped(GTK_WIDGET(w->data)) && child && GTK_IS_MENU(child);
  }
  g_list_free(windows);
  return shown;
}

GdkRectangle EntryArea() {
  GdkRectangle area{};
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_status_icon_get_geometry(XEmbedEntry(), nullptr, &area, nullptr);
  G_GNUC_END_IGNORE_DEPRECATIONS
  return area;
}

class Tray : public TrayFixture {
 protected:
  // No session bus, whatever desktop the tests are started from.
  static void SetUpTestSuite() {
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kesto-test-bus", 1);
  }

  void SetUp() override {
    TrayFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(PumpUntil(XEmbedEntryEmbedded)) << "the entry is in the notification area";
    // The notification area places the entry once it is embedded.
    ASSERT_TRUE(PumpUntil([] { return EntryArea().width > 0 && EntryArea().y > 900; }));
    WaitUntilSteady([] {
      const GdkRectangle area = EntryArea();
      return std::vector<int>{area.x, area.y, area.width, area.height};
    });
    Screenshot("tray-with-entry");
  }

  void ClickTray(const char* button, int clicks = 1) {
    const GdkRectangle area = EntryArea();
    XDo({"mousemove", std::to_string(area.x + area.width / 2),
         std::to_string(area.y + area.height / 2)});
    XDo({"click", "--repeat", std::to_string(clicks), "--delay", "60", button});
  }

  void HideByButton() {
    const Point button = ScreenPoint(names::kMainWindow, "图形按钮2", 22, 21);
    XDo({"mousemove", std::to_string(button.x), std::to_string(button.y)});
    XDo({"click", "1"});
    ASSERT_TRUE(PumpUntil([&] { return !IsMapped(handle_); }));
  }
};

TEST_F(Tray, HideButtonHidesTheWindowAndATrayClickBringsItBack) {
  HideByButton();
  ClickTray("1");
  EXPECT_TRUE(PumpUntil([&] { return IsMapped(handle_); }));
  EXPECT_EQ(TrayCodes(), std::vector<int>{1});
  WaitUntilPlaced(names::kMainWindow);
  EXPECT_FALSE(IsIconic(handle_));
  Screenshot("tray-restored");
}

TEST_F(Tray, AWindowMovedAwayComesBackCentredFromTheTray) {
  // Dragged away, as a user would.
  ASSERT_TRUE(XDo({"windowmove", std::to_string(handle_), "7", "9"}));
  ASSERT_TRUE(PumpUntil([] { return WindowRect(names::kMainWindow).left < 40; }));
  HideToTray({});
  ASSERT_TRUE(PumpUntil([&] { return !IsMapped(handle_); }));
  ClickTray("1");
  ASSERT_TRUE(PumpUntil([&] { return IsMapped(handle_); }));
  GdkRectangle screen;
  gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
  auto centred = [&] {
    native::Rect rect = WindowRect(names::kMainWindow);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    return std::abs(rect.left - (screen.width - width) / 2) <= 2 &&
           std::abs(rect.top - (screen.height - height) / 2) <= 40;
  };
  EXPECT_TRUE(PumpUntil(centred)) << "left " << WindowRect(names::kMainWindow).left;
}

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

TEST_F(Tray, DoubleClickReportsTheLeftUpsAndTheDoubleClick) {
  ClickTray("1", 2);
  PumpUntil([] { return TrayCodes().size() >= 3; });
  EXPECT_EQ(TrayCodes(), (std::vector<int>{1, 2, 1}));
}

TEST_F(Tray, RightClickPopsUpTheMenuWhileTheWindowStaysHidden) {
  HideByButton();
  ClickTray("3");
  PumpUntil([] { return !TrayCodes().empty(); });
  EXPECT_EQ(TrayCodes(), std::vector<int>{3});
  EXPECT_TRUE(PumpUntil(MenuShown)) << "the tray menu is up";
  Screenshot("tray-menu");
  EXPECT_FALSE(IsMapped(handle_)) << "the window stays hidden";
  XDo({"key", "Down", "Return"});
  EXPECT_TRUE(PumpUntil([] { return CountReached(names::kOnExitChosen) == 1; }));
  EXPECT_TRUE(PumpUntil([] { return !MenuShown(); }));
  EXPECT_FALSE(IsMapped(handle_));
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
