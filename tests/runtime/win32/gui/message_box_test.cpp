// Message boxes answered from the keyboard, on the user-interface thread and from a worker
// thread, whose box blocks only the worker while the windows go on working.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "layouts/names.h"
#include "runtime/toolkit.h"
#include "runtime/win32/toolkit/open_address.h"
#include "tests/runtime/win32/gui/gui_support.h"

// windows.h names its MessageBoxW macro after the operation under test.
#undef MessageBox

namespace kesto::testing {
namespace {

// Presses the keys on the box with the caption once it is on screen, again while it stays (a
// busy X server may deliver the first press before the box has the focus).
std::thread PressWhenShown(const std::wstring& caption, const std::string& keys) {
  return std::thread([caption, keys] {
    HWND box = nullptr;
    for (int i = 0; i < 500 && !(box = FindWindowW(L"#32770", caption.c_str())); ++i) Sleep(20);
    for (int tries = 0; box && IsWindow(box) && tries < 10; ++tries) {
      Sleep(500);
      SetForegroundWindow(box);
      RunUnix("xdotool key " + keys);
    }
  });
}

TEST(MessageBoxes, EnterPressesTheFirstButtonAndEscapeCancels) {
  std::thread enter = PressWhenShown(L"问题", "Return");
  EXPECT_EQ(toolkit::MessageBox("继续吗？", "问题", kMbOkCancel), kIdOk);
  enter.join();
  std::thread escape = PressWhenShown(L"问题", "Escape");
  EXPECT_EQ(toolkit::MessageBox("继续吗？", "问题", kMbOkCancel | kMbIconInformation), kIdCancel);
  escape.join();
}

TEST(MessageBoxes, FromAWorkerItBlocksOnlyTheWorker) {
  HWND main = LoadAndShow(names::kMainWindow);
  ASSERT_NE(main, nullptr);
  std::atomic<int> answer{-1};
  std::thread worker([&] { answer = toolkit::MessageBox("下载失败", "错误", kMbIconStop); });
  ASSERT_TRUE(PumpUntil([] { return FindWindowW(L"#32770", L"错误") != nullptr; }, 5000));
  Screenshot("message-box-from-worker");

  // The windows still answer while the box waits.
  const ui::Ref pages{names::kMainWindow, "选择夹1"};
  ui::SetInt(pages, ui::prop::tab::kCurrentPage, 3);
  EXPECT_EQ(ui::GetInt(pages, ui::prop::tab::kCurrentPage), 3);
  bool posted = false;
  toolkit::PostToUiThread([&] { posted = true; });
  EXPECT_TRUE(PumpUntil([&] { return posted; }, 2000));
  EXPECT_EQ(answer.load(), -1);

  std::thread enter = PressWhenShown(L"错误", "Return");
  EXPECT_TRUE(PumpUntil([&] { return answer.load() != -1; }, 10000));
  enter.join();
  worker.join();
  EXPECT_EQ(answer.load(), kIdOk);
  CloseAndWait(names::kMainWindow);
}

// The fallback when the shell cannot open an address: the registered browser command with the
// address in place of "%1".
TEST(BrowserCommand, AddressReplacesTheFirstQuotedOrBarePercentOne) {
  EXPECT_EQ(win32::BrowserCommandLine("\"C:\\b\\ie.exe\" -nohome \"%1\" -x", "http://a/"),
            "\"C:\\b\\ie.exe\" -nohome  http://a/");
  EXPECT_EQ(win32::BrowserCommandLine("C:\\b\\ie.exe %1", "http://a/"), "C:\\b\\ie.exe  http://a/");
  EXPECT_EQ(win32::BrowserCommandLine("C:\\b\\ie.exe", "http://a/"), "C:\\b\\ie.exe http://a/");
}

}  // namespace
}  // namespace kesto::testing
