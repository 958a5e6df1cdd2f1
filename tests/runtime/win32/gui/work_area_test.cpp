// The windows on a laptop's screen of 1366 x 768 (the session this suite runs in): the
// purchase window (1024 x 800) is fitted to the work area, and every window's top edge, where
// the caption or the title banner is, stays on screen.
#include <gtest/gtest.h>

#include "layouts/names.h"
#include "tests/runtime/win32/gui/gui_support.h"

namespace kesto::testing {
namespace {

RECT WorkAreaOf(HWND hwnd) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

TEST(SmallScreen, WindowsStayInsideTheWorkAreaAndThePurchaseWindowFitsIt) {
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768) << "the suite's session is 1366 x 768";
  HWND main = LoadAndShow(names::kMainWindow);
  HWND purchase = LoadAndShow(names::kPurchaseWindow);
  ASSERT_TRUE(main && purchase);
  const RECT area = WorkAreaOf(purchase);
  ASSERT_LT(area.bottom - area.top, 800);
  Screenshot("small-screen-purchase-window");

  const RECT rect = WindowRectOf(purchase);
  EXPECT_GE(rect.top, area.top);
  EXPECT_LE(rect.bottom, area.bottom);
  EXPECT_EQ(rect.right - rect.left, 1024) << "only as much smaller as the area asks";
  // The browser box shrank with the window, its frame still hidden beyond the client area's
  // edge: its layout has it end at 768 in a window 800 high.
  RECT browser{};
  HWND box = reinterpret_cast<HWND>(ui::NativeHandle({names::kPurchaseWindow, "超文本浏览框1"}));
  GetWindowRect(box, &browser);
  MapWindowPoints(nullptr, purchase, reinterpret_cast<POINT*>(&browser), 2);
  EXPECT_EQ(browser.bottom, 768 - (800 - (rect.bottom - rect.top)));
  EXPECT_EQ(browser.right, 1016);

  const RECT mainRect = WindowRectOf(main);
  EXPECT_GE(mainRect.top, area.top);
  EXPECT_LE(mainRect.bottom, area.bottom);
  CloseAndWait(names::kPurchaseWindow);
  CloseAndWait(names::kMainWindow);
}

}  // namespace
}  // namespace kesto::testing
