// What only the Windows toolkit shows of the three windows: styles, icons, the progress bar's
// range, the purchase window without a browser engine. What both toolkits show is in the
// conformance scenarios.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include "layouts/names.h"
#include "runtime/win32/wide_text.h"
#include "tests/runtime/win32/gui/gui_support.h"

namespace kesto::testing {
namespace {

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

TEST_F(Windows, MainHasNoCaptionAndCarriesTheProgramsIcon) {
  HWND main = LoadAndShow(names::kMainWindow);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_NE(SendMessageW(main, WM_GETICON, ICON_BIG, 0), 0);
}

// Its outer size is the layout's, with a caption; its bar counts 10000 steps.
TEST_F(Windows, UpdateWindowIsFramedWithABarOfTenThousandSteps) {
  HWND update = LoadAndShow(names::kUpdateWindow);
  ASSERT_NE(update, nullptr);
  const RECT rect = WindowRectOf(update);
  EXPECT_EQ(Width(rect), 357);
  EXPECT_EQ(Height(rect), 168);
  EXPECT_NE(GetWindowLongW(update, GWL_STYLE) & WS_CAPTION, 0);

  const ui::Ref bar{names::kUpdateWindow, "进度条1"};
  HWND barWindow = reinterpret_cast<HWND>(ui::NativeHandle(bar));
  PBRANGE range{};
  SendMessageW(barWindow, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 10000);
  ui::SetInt(bar, ui::prop::processbar::kPosition, 2500);
  EXPECT_EQ(SendMessageW(barWindow, PBM_GETPOS, 0, 0), 2500);
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
