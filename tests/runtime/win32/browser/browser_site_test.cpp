// The site keeps the control's context menu and the browser's window shortcuts out: both would
// open pages in a browser of their own, without the control's cookies.
#include <gtest/gtest.h>

#include "runtime/win32/toolkit/browser/site.h"

namespace kesto::win32 {
namespace {

void HoldControl(bool held) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

TEST(BrowserSite, KeepsTheContextMenuAndTheBrowsersWindowShortcutsOut) {
  BrowserSite* site = new BrowserSite(nullptr, RECT{});
  EXPECT_EQ(site->ShowContextMenu(0, nullptr, nullptr, nullptr), S_OK) << "no menu shown";

  MSG key{nullptr, WM_KEYDOWN, 'N', 0, 0, {}};
  HoldControl(true);
  EXPECT_EQ(site->TranslateAccelerator(&key, nullptr, 0), S_OK) << "Ctrl+N is taken";
  key.wParam = 'C';
  EXPECT_EQ(site->TranslateAccelerator(&key, nullptr, 0), S_FALSE) << "Ctrl+C is the control's";
  HoldControl(false);
  key.wParam = 'N';
  EXPECT_EQ(site->TranslateAccelerator(&key, nullptr, 0), S_FALSE) << "N typed into a field";
  site->Release();
}

}  // namespace
}  // namespace kesto::win32
