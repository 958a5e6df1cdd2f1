// The three windows on a real desktop: place, size, frame, title, icon, look and the controls
// that carry them; dragging the borderless main window; its window state.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include <thread>

#include "layouts/names.h"
#include "runtime/win32/wide_text.h"
#include "tests/runtime/win32/gui/gui_support.h"

namespace kesto::testing {
namespace {

constexpr int kScreenWidth = 1280, kScreenHeight = 1024;
constexpr std::uint32_t kBannerBlue = 0x11B8FF;
const ui::Ref kMain{names::kMainWindow, ""};

int Width(const RECT& r) {
  return r.right - r.left;
}
int Height(const RECT& r) {
  return r.bottom - r.top;
}

class Windows : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* window : {names::kMainWindow, names::kUpdateWindow, names::kPurchaseWindow}) {
      CloseAndWait(window);
    }
  }
};

TEST_F(Windows, MainComesUpCentredBorderlessWithTheBannerAboveItsPages) {
  HWND main = LoadAndShow(names::kMainWindow);
  ASSERT_NE(main, nullptr);
  const RECT rect = WindowRectOf(main);
  EXPECT_EQ(Width(rect), 1024);
  EXPECT_EQ(Height(rect), 658);
  EXPECT_EQ(rect.left, (kScreenWidth - 1024) / 2);
  EXPECT_EQ(rect.top, (kScreenHeight - 658) / 2);
  EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_NE(SendMessageW(main, WM_GETICON, ICON_BIG, 0), 0);

  Screenshot("main-window-browser-page");
  EXPECT_EQ(ScreenPixel(rect.left + 600, rect.top + 3), kBannerBlue) << "the title banner";

  ui::SetInt({names::kMainWindow, "选择夹1"}, ui::prop::tab::kCurrentPage, 3);
  EXPECT_EQ(ui::GetInt({names::kMainWindow, "选择夹1"}, ui::prop::tab::kCurrentPage), 3);
  Screenshot("main-window-installed-apps-page");
  const POINT list = ControlPoint({names::kMainWindow, "超级列表框1"}, 400, 300);
  EXPECT_EQ(ScreenPixel(list.x, list.y), 0xF6F6F6u) << "the empty list";
  const POINT hint = ControlPoint({names::kMainWindow, "标签4"}, 8, 20);
  EXPECT_EQ(ScreenPixel(hint.x, hint.y), 0xECECECu) << "the hint bar";
}

TEST_F(Windows, DraggingTheBannerOrTheTitleMovesTheMainWindow) {
  HWND main = LoadAndShow(names::kMainWindow);
  ASSERT_NE(main, nullptr);
  for (const char* grabbed : {"_标题", "标签1"}) {
    SCOPED_TRACE(grabbed);
    const RECT before = WindowRectOf(main);
    const POINT grab = ControlPoint({names::kMainWindow, grabbed}, 500, 14);
    // One xdotool run for the whole drag: the window moves in a loop of its own until the
    // button goes up.
    std::string drag = "mousemove " + std::to_string(grab.x) + " " + std::to_string(grab.y) +
                       " sleep 0.1 mousedown 1 sleep 0.1";
    for (int step = 1; step <= 5; ++step) {
      drag += " mousemove " + std::to_string(grab.x - step * 10) + " " +
              std::to_string(grab.y + step * 8) + " sleep 0.05";
    }
    XDo(drag + " mouseup 1");
    Pump(400);
    const RECT after = WindowRectOf(main);
    EXPECT_EQ(after.left - before.left, -50);
    EXPECT_EQ(after.top - before.top, 40);
  }
  Screenshot("main-window-dragged");
}

TEST_F(Windows, MainHiddenAndMinimisedComesBackCentredAndNormal) {
  HWND main = LoadAndShow(names::kMainWindow);
  ASSERT_NE(main, nullptr);
  SetWindowPos(main, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ui::SetBool(kMain, ui::prop::kVisible, false);
  ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateMinimised);
  Pump(300);
  EXPECT_FALSE(IsWindowVisible(main)) << "a hidden window stays hidden";
  EXPECT_EQ(ui::GetInt(kMain, ui::prop::window::kWindowState), ui::kStateMinimised);

  ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateCentred);
  ui::SetBool(kMain, ui::prop::kVisible, true);
  Pump(500);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_FALSE(IsIconic(main));
  const RECT rect = WindowRectOf(main);
  EXPECT_EQ(rect.left, (kScreenWidth - 1024) / 2);
  EXPECT_EQ(rect.top, (kScreenHeight - 658) / 2);
}

TEST_F(Windows, UpdateWindowStaysOnTopAndTakesProgressFromTheWorker) {
  HWND update = LoadAndShow(names::kUpdateWindow);
  ASSERT_NE(update, nullptr);
  const RECT rect = WindowRectOf(update);
  EXPECT_EQ(Width(rect), 357);
  EXPECT_EQ(Height(rect), 168);
  EXPECT_NE(GetWindowLongW(update, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_NE(GetWindowLongW(update, GWL_STYLE) & WS_CAPTION, 0);

  const ui::Ref bar{names::kUpdateWindow, "进度条1"};
  HWND barWindow = reinterpret_cast<HWND>(ui::NativeHandle(bar));
  PBRANGE range{};
  SendMessageW(barWindow, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 10000);

  std::thread worker([&] { ui::SetInt(bar, ui::prop::processbar::kPosition, 2500); });
  worker.join();
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(barWindow, PBM_GETPOS, 0, 0) == 2500; }, 2000));
  EXPECT_EQ(ui::GetInt(bar, ui::prop::processbar::kPosition), 2500);
  Screenshot("update-window");

  // The worker closes the window from its own thread.
  std::thread closer([] { ui::CloseWindow(names::kUpdateWindow); });
  closer.join();
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(update); }, 3000));
}

TEST_F(Windows, PurchaseWindowHasItsTitleSizeAndIconAndWorksWithoutABrowserEngine) {
  // The main window, loaded first as in the program, gives the program's icon.
  ASSERT_NE(LoadAndShow(names::kMainWindow), nullptr);
  HWND purchase = LoadAndShow(names::kPurchaseWindow);
  ASSERT_NE(purchase, nullptr);
  const RECT rect = WindowRectOf(purchase);
  EXPECT_EQ(Width(rect), 1024);
  EXPECT_EQ(Height(rect), 800);
  wchar_t title[128] = {};
  GetWindowTextW(purchase, title, 128);
  EXPECT_EQ(std::wstring(title), win32::ToWide("自全动自助购买系统 过程中出现问题联系 官方QQ："));
  EXPECT_NE(SendMessageW(purchase, WM_GETICON, ICON_BIG, 0), 0) << "the program's icon";

  const ui::Ref browser{names::kPurchaseWindow, "超文本浏览框1"};
  EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(ui::NativeHandle(browser))));
  ui::SetText(browser, ui::prop::browser::kUrl, "http://127.0.0.1:9/");
  EXPECT_FALSE(ui::GetText(browser, ui::prop::browser::kUrl).empty());
  Screenshot("purchase-window");
}

}  // namespace
}  // namespace kesto::testing
