// The native window operations on a real top-level window of another window class than ours
// that only Windows has: a hidden maximised window's state, the show commands one by one,
// foreground and top, the window region.
// What both toolkits have is in the conformance scenarios.
#include <gtest/gtest.h>

#include "runtime/native.h"
#include "shell/window_activation.h"
#include "tests/runtime/win32/gui/gui_support.h"
#include "tests/runtime/win32/gui/window_program.h"

// windows.h names its PostMessageW macro after the operation under test.
#undef PostMessage

namespace kesto::testing {
namespace {

class NativeWindowOps : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW type{};
    type.lpfnWndProc = DefWindowProcW;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    type.lpszClassName = L"KestoTestPeer";
    RegisterClassW(&type);
    hwnd_ = CreateWindowExW(0, type.lpszClassName, L"peer", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                            nullptr, nullptr, type.hInstance, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    Pump(500);
    handle_ = reinterpret_cast<native::Handle>(hwnd_);
  }
  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }

  HWND hwnd_ = nullptr;
  native::Handle handle_ = 0;
};

// Windows keeps a hidden window's maximised state; X11 window managers drop it (a GTK
// disagreement still open).
TEST_F(NativeWindowOps, AHiddenMaximisedWindowIsActivatedMaximised) {
  ShowWindow(hwnd_, SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd_) != FALSE; }, 3000));
  ShowWindow(hwnd_, SW_HIDE);
  shell::ActivateWindow(handle_);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(hwnd_) != FALSE; }, 3000));
  EXPECT_TRUE(IsZoomed(hwnd_));
}

// The platform asks the recorded tools to close: a program of the toolkit ends when its last
// window has gone.
TEST_F(NativeWindowOps, AToolkitProgramEndsWhenAnotherProgramClosesItsLastWindow) {
  WindowProgram program(KESTO_GUI_TOOLKIT_PEER, L"");
  ASSERT_NE(program.window(), 0);
  native::PostMessage(program.window(), native::kWmClose, 0, 0);
  int exitCode = -1;
  ASSERT_TRUE(program.Ended(10000, exitCode));
  EXPECT_EQ(exitCode, 0);
}

TEST_F(NativeWindowOps, ShowCommandsHideMinimiseMaximiseAndRestore) {
  native::ShowWindow(handle_, native::kSwHide);
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  native::ShowWindow(handle_, native::kSwShow);
  EXPECT_TRUE(IsWindowVisible(hwnd_));

  native::ShowWindowAsync(handle_, native::kSwMinimize);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(hwnd_) != FALSE; }, 3000));
  native::OpenIcon(handle_);
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(hwnd_); }, 3000));

  native::ShowWindowAsync(handle_, native::kSwMaximize);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(hwnd_) != FALSE; }, 3000));
  native::ShowWindow(handle_, native::kSwRestore);
  EXPECT_FALSE(IsZoomed(hwnd_));
  EXPECT_TRUE(IsWindowVisible(hwnd_));
}

TEST_F(NativeWindowOps, ForegroundAndTopBringTheWindowInFront) {
  HWND other = CreateWindowExW(0, L"KestoTestPeer", L"other", WS_OVERLAPPEDWINDOW, 120, 120, 300,
                               200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(other, SW_SHOWNORMAL);
  Pump(500);
  ASSERT_NE(GetForegroundWindow(), hwnd_);
  native::SetForegroundWindow(handle_);
  native::BringWindowToTop(handle_);
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == hwnd_; }, 3000));
  DestroyWindow(other);
}

TEST_F(NativeWindowOps, RoundOutlineCutsTheCornersOff) {
  native::SetRoundWindowOutline(handle_, 300, 200, 40);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(hwnd_, region), COMPLEXREGION);
  RECT box{};
  GetRgnBox(region, &box);
  // As on Windows, the region ends one pixel inside the size given.
  EXPECT_EQ(box.right - box.left, 299);
  EXPECT_EQ(box.bottom - box.top, 199);
  EXPECT_FALSE(PtInRegion(region, 1, 1)) << "a corner";
  EXPECT_TRUE(PtInRegion(region, 150, 1)) << "the top edge's middle";
  DeleteObject(region);

  Pump(300);
  const RECT rect = WindowRectOf(hwnd_);
  Screenshot("native-round-outline");
  // The desktop (black under Xvfb) shows through the cut corner.
  EXPECT_EQ(ScreenPixel(rect.left + 1, rect.top + 1), 0x000000u);
}

}  // namespace
}  // namespace kesto::testing
