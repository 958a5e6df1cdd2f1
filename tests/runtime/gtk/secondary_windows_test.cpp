// What only GTK shows of the secondary windows: the update window's client area and bar colour,
// and the purchase window's frame as the window manager is asked for it. The update window's
// place on top and its worker are in the conformance scenarios.
#include <gtest/gtest.h>

#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/x11_access.h"
#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/gui_windows.h"

namespace kesto::testing {
namespace {

constexpr long kMotifMove = 0x04, kMotifClose = 0x20;

std::vector<long> Longs(native::Handle window, const char* property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(gtk::XDisplay(), Window(window), gtk::XAtom(property), 0, 16, False,
                         AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
      data && format == 32) {
    values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
  }
  if (data) XFree(data);
  return values;
}

class SecondaryWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    KESTO_REQUIRE_DISPLAY();
    ReachedHandlers().clear();
  }
};

// The client area is the layout's size less a Windows frame; the bar fills in green.
TEST_F(SecondaryWindows, UpdateWindowsClientAreaAndGreenBar) {
  const native::Handle window = LoadAndShow(names::kUpdateWindow);
  ASSERT_NE(window, 0);
  const native::Rect rect = WindowRect(names::kUpdateWindow);
  EXPECT_EQ(rect.right - rect.left, 357 - 8);
  EXPECT_EQ(rect.bottom - rect.top, 168 - 32);
  const ui::Ref bar{names::kUpdateWindow, "进度条1"};
  ui::SetInt(bar, ui::prop::processbar::kPosition, 2500);
  const Point filled = ScreenPoint(names::kUpdateWindow, "进度条1", 30, 10);
  const Point empty = ScreenPoint(names::kUpdateWindow, "进度条1", 250, 10);
  Screen screen = ScreenshotWhen("update-window-bar", [&](GdkPixbuf* shot) {
    return PixelAt(shot, filled.x, filled.y) == 0x06B025u;
  });
  EXPECT_EQ(PixelAt(screen.get(), filled.x, filled.y), 0x06B025u) << "a quarter is filled";
  EXPECT_NE(PixelAt(screen.get(), empty.x, empty.y), 0x06B025u);
  ui::CloseWindow(names::kUpdateWindow);
  EXPECT_TRUE(PumpUntil([] { return !gtk::FindLoadedWindow(Text(names::kUpdateWindow)); }));
}

TEST_F(SecondaryWindows, PurchaseWindowHasAFixedFrameWithACloseBoxOnly) {
  RecordUnder(names::kOnPurchaseWindowCreated);
  const native::Handle window = LoadAndShow(names::kPurchaseWindow);
  ASSERT_NE(window, 0);
  const ui::Ref purchase{names::kPurchaseWindow, ""};
  EXPECT_EQ(ui::GetText(purchase, ui::prop::window::kTitle),
            "自全动自助购买系统 过程中出现问题联系 官方QQ：");
  EXPECT_EQ(ui::GetInt(purchase, ui::prop::kWidth), 1024);
  EXPECT_EQ(ui::GetInt(purchase, ui::prop::kHeight), 800);
  const char* const actions = "_NET_WM_ALLOWED_ACTIONS";
  EXPECT_TRUE(HasAtom(window, actions, "_NET_WM_ACTION_CLOSE"));
  EXPECT_TRUE(HasAtom(window, actions, "_NET_WM_ACTION_MOVE"));
  EXPECT_FALSE(HasAtom(window, actions, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
  EXPECT_FALSE(HasAtom(window, actions, "_NET_WM_ACTION_RESIZE"));
  // Asked of the window manager: moving and closing only (openbox keeps its minimise button
  // whatever a window asks).
  const std::vector<long> motif = Longs(window, "_MOTIF_WM_HINTS");
  ASSERT_GE(motif.size(), 2u);
  EXPECT_EQ(motif[1], kMotifMove | kMotifClose);
  Screenshot("purchase-window");
  // A second load brings the open window forward without a second created event.
  EXPECT_TRUE(ui::LoadWindow(names::kPurchaseWindow));
  EXPECT_EQ(CountReached(names::kOnPurchaseWindowCreated), 1);
  // Closed with its close box, it is gone.
  native::PostMessage(window, native::kWmClose, 0, 0);
  EXPECT_TRUE(PumpUntil([] { return !gtk::FindLoadedWindow(Text(names::kPurchaseWindow)); }));
}

}  // namespace
}  // namespace kesto::testing
