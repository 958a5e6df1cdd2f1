// What only the Windows shell does with the notification-area entry: taking it again when the
// notification area starts again, and refusing it at logon. Hiding to the entry, its clicks and
// its menu are in the conformance scenarios.
#include <gtest/gtest.h>

#include "assets/artwork.h"
#include "layouts/names.h"
#include "tests/runtime/win32/gui/gui_support.h"

namespace kesto::testing {
namespace {

TEST(NotificationAreaRestart, EntryComesBackWhenTheNotificationAreaDoes) {
  HWND main = LoadAndShow(names::kMainWindow);
  ASSERT_NE(main, nullptr);
  ui::SetTrayIcon(names::kMainWindow, assets::kPlatformIcon.ToBytes(), "Kesto应用平台");
  ASSERT_TRUE(PumpUntil([] { return DockedTrayEntry().x != 0; }, 20000));
  // What Explorer broadcasts when it starts again.
  SendMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  Pump(500);
  ui::SetTrayIcon(names::kMainWindow, assets::kPlatformIcon.ToBytes(), "新的提示");
  Pump(500);
  EXPECT_NE(DockedTrayEntry().x, 0);
  ui::SetTrayIcon(names::kMainWindow);
  EXPECT_TRUE(PumpUntil([] { return DockedTrayEntry().x == 0; }, 5000)) << "the entry is gone";
  CloseAndWait(names::kMainWindow);
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
