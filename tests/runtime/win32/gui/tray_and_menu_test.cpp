// The notification-area entry in a real XEmbed notification area (trayer, which Wine docks its
// entries in): hiding the main window to it, clicks that come back as the tray notification
// with the codes the program expects, the tray menu popped up from it.
#include <gtest/gtest.h>

#include <thread>

#include "assets/artwork.h"
#include "layouts/names.h"
#include "tests/runtime/win32/gui/gui_support.h"

namespace kesto::testing {
namespace {

const ui::Ref kMain{names::kMainWindow, ""};

std::vector<int>& TrayCodes() {
  static std::vector<int> codes;
  return codes;
}

// As the program does: a left click restores the window, a right click pops the menu up.
ui::EventResult OnTray(const ui::EventArgs& args) {
  TrayCodes().push_back(args.a);
  if (args.a == 1) {
    ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateCentred);
    ui::SetBool(kMain, ui::prop::kVisible, true);
  } else if (args.a == 3) {
    ui::PopupMenu(names::kMainWindow, names::kTrayMenu);
  }
  return {};
}

class TrayEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    TrayCodes().clear();
    ReachedHandlers().clear();
    ui::RegisterHandler(names::kOnTrayNotify, OnTray);
    RecordUnder(names::kOnExitChosen);
    main_ = LoadAndShow(names::kMainWindow);
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui::TrayAvailable());
    ui::SetTrayIcon(names::kMainWindow, assets::kPlatformIcon.ToBytes(), "Kesto应用平台");
    // Wine's desktop process docks the entry once it has started: some seconds.
    PumpUntil([&] { return (icon_ = DockedIcon()).x != 0; }, 20000);
    ASSERT_NE(icon_.x, 0) << "no entry docked in the notification area";
  }
  void TearDown() override {
    ui::SetTrayIcon(names::kMainWindow);
    CloseAndWait(names::kMainWindow);
  }

  // The middle of the entry that Wine docked in trayer's panel: a window of Wine's desktop
  // process among the panel's descendants.
  static POINT DockedIcon() {
    const std::string found = UnixOutput(
        "for w in $(xdotool search --classname panel); do xwininfo -tree -id $w; done"
        " | grep explorer.exe | grep -o '[0-9]*x[0-9]*+-*[0-9]*+-*[0-9]*  +[0-9]*+[0-9]*'"
        " | head -n 1");
    int width = 0, height = 0, x = 0, y = 0, absX = 0, absY = 0;
    if (std::sscanf(found.c_str(), "%dx%d+%d+%d  +%d+%d", &width, &height, &x, &y, &absX, &absY) !=
        6) {
      return {0, 0};
    }
    return {absX + width / 2, absY + height / 2};
  }

  HWND main_ = nullptr;
  POINT icon_{};
};

TEST_F(TrayEntry, HiddenMainWindowComesBackByALeftClick) {
  ui::SetBool(kMain, ui::prop::kVisible, false);
  ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateMinimised);
  Pump(300);
  ASSERT_FALSE(IsWindowVisible(main_));
  Screenshot("tray-entry-docked");

  ClickAt(icon_);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(main_) != FALSE; }, 3000));
  EXPECT_FALSE(IsIconic(main_));
  ASSERT_FALSE(TrayCodes().empty());
  EXPECT_EQ(TrayCodes().front(), 1);
}

TEST_F(TrayEntry, DoubleClickGivesTwoAndTheRightButtonThree) {
  ClickAt(icon_, 1, 2);
  EXPECT_TRUE(PumpUntil([] { return TrayCodes().size() >= 3; }, 3000));
  EXPECT_EQ(std::count(TrayCodes().begin(), TrayCodes().end(), 2), 1);
  EXPECT_EQ(std::count(TrayCodes().begin(), TrayCodes().end(), 3), 0);
  TrayCodes().clear();

  // The right click pops the menu up; Escape closes it without a choice.
  std::thread escape([] {
    Sleep(1500);
    RunUnix("xdotool key Escape");
  });
  ClickAt(icon_, 3);
  Pump(2000);
  escape.join();
  EXPECT_EQ(TrayCodes(), std::vector<int>{3});
  EXPECT_EQ(CountReached(names::kOnExitChosen), 0);
}

TEST_F(TrayEntry, TrayMenuReportsTheChosenItem) {
  std::thread choose([] {
    Sleep(1500);
    RunUnix("xdotool key Down Return");
  });
  ClickAt(icon_, 3);
  Pump(2000);
  choose.join();
  Screenshot("tray-menu-chosen");
  EXPECT_EQ(CountReached(names::kOnExitChosen), 1);
}

TEST_F(TrayEntry, EntryComesBackWhenTheNotificationAreaDoes) {
  // What Explorer broadcasts when it starts again.
  SendMessageW(main_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  Pump(500);
  ui::SetTrayIcon(names::kMainWindow, assets::kPlatformIcon.ToBytes(), "新的提示");
  Pump(500);
  EXPECT_NE(DockedIcon().x, 0);
  ui::SetTrayIcon(names::kMainWindow);
  EXPECT_TRUE(PumpUntil([] { return DockedIcon().x == 0; }, 5000)) << "the entry is gone";
}

// At logon the shell may not take entries yet. Until it takes the platform's, the window has no
// entry to be hidden to, and the entry is added as soon as the shell takes it. An entry of the
// test's own under the same window and identifier makes the shell refuse the platform's.
TEST(RefusedTrayEntry, CountsAsNoneUntilTheShellTakesIt) {
  HWND main = LoadAndShow(names::kMainWindow);
  ASSERT_NE(main, nullptr);
  NOTIFYICONDATAW entry{};
  entry.cbSize = sizeof entry;
  entry.hWnd = main;
  entry.uID = 100;
  entry.uFlags = NIF_TIP;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &entry));
  ui::SetTrayIcon(names::kMainWindow, assets::kPlatformIcon.ToBytes(), "Kesto应用平台");
  EXPECT_FALSE(ui::TrayAvailable());

  Shell_NotifyIconW(NIM_DELETE, &entry);
  EXPECT_TRUE(PumpUntil([] { return ui::TrayAvailable(); }, 5000));
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &entry)) << "the platform's entry is there";
  ui::SetTrayIcon(names::kMainWindow);
  CloseAndWait(names::kMainWindow);
}

}  // namespace
}  // namespace kesto::testing
