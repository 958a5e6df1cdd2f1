// The native window operations on another program's window, reached only through its handle as
// the platform reaches the recorded windows: liveness of any handle, the rectangle and the
// owning process, the activation sequence on a minimised, hidden or maximised window, the close
// request.
#include <thread>

#include "shell/window_activation.h"
#include "tests/runtime/toolkit_conformance/on_desktop.h"

// windows.h names its PostMessageW macro after the operation under test.
#undef PostMessage

namespace kesto::testing {
namespace {

using NativeWindows = OnDesktop;
using desktop::ActiveWindow;
using desktop::Peer;
using desktop::PumpUntil;

TEST_F(NativeWindows, AnyHandleIsAskedSafelyUntilItsWindowIsGone) {
  Peer peer("kesto peer alive");
  const native::Handle window = peer.window();
  ASSERT_NE(window, 0);
  EXPECT_TRUE(native::IsWindow(window));
  EXPECT_TRUE(native::IsWindow(desktop::DesktopWindow()));
  EXPECT_FALSE(native::IsWindow(0));
  EXPECT_FALSE(native::IsWindow(-5));
  EXPECT_FALSE(native::IsWindow(native::Handle(1) << 40));
  native::Rect rect;
  ASSERT_TRUE(native::GetWindowRect(window, rect));
  EXPECT_EQ(rect.right - rect.left, 300);
  EXPECT_EQ(rect.bottom - rect.top, 200);
  EXPECT_EQ(native::WindowProcessId(window), peer.processId());

  native::PostMessage(window, native::kWmClose, 0, 0);
  int exitCode = -1;
  ASSERT_TRUE(peer.Ended(10000, exitCode));
  EXPECT_TRUE(PumpUntil([&] { return !native::IsWindow(window); }));
  EXPECT_FALSE(native::GetWindowRect(window, rect));
  EXPECT_EQ(native::WindowProcessId(window), 0u);
}

// Puts the other window in front, then activates the peer's window by its handle: it is in
// front then.
void ActivateFromBehind(const Peer& peer, const Peer& other) {
  native::SetForegroundWindow(other.window());
  ASSERT_TRUE(PumpUntil([&] { return ActiveWindow() == other.window(); }));
  shell::ActivateWindow(peer.window());
  EXPECT_TRUE(PumpUntil([&] { return ActiveWindow() == peer.window(); }))
      << "active " << ActiveWindow() << ", expected " << peer.window();
}

TEST_F(NativeWindows, ActivationBringsAMinimisedWindowToTheFront) {
  Peer other("kesto peer other");
  Peer peer("kesto peer minimised");
  native::ShowWindow(peer.window(), native::kSwMinimize);
  ASSERT_TRUE(PumpUntil([&] { return desktop::IsMinimised(peer.window()); }));
  ActivateFromBehind(peer, other);
  EXPECT_TRUE(PumpUntil(
      [&] { return desktop::IsShown(peer.window()) && !desktop::IsMinimised(peer.window()); }));
  desktop::Screenshot("activated-peer");
}

TEST_F(NativeWindows, ActivationShowsAHiddenWindow) {
  Peer peer("kesto peer hidden");
  native::ShowWindow(peer.window(), native::kSwHide);
  ASSERT_TRUE(PumpUntil([&] { return !desktop::IsShown(peer.window()); }));
  EXPECT_TRUE(native::IsWindow(peer.window())) << "hidden is not gone";
  shell::ActivateWindow(peer.window());
  EXPECT_TRUE(PumpUntil([&] { return desktop::IsShown(peer.window()); }));
  EXPECT_TRUE(PumpUntil([&] { return ActiveWindow() == peer.window(); }))
      << "active " << ActiveWindow() << ", expected " << peer.window();
}

// A seller who works in a maximised tool gets it back maximised.
TEST_F(NativeWindows, ActivationLeavesAMaximisedWindowMaximised) {
  Peer other("kesto peer other");
  Peer peer("kesto peer maximised");
  native::ShowWindow(peer.window(), native::kSwMaximize);
  ASSERT_TRUE(PumpUntil([&] { return desktop::IsMaximised(peer.window()); }));
  ActivateFromBehind(peer, other);
  desktop::Pump(500);
  EXPECT_TRUE(desktop::IsMaximised(peer.window()));
}

TEST_F(NativeWindows, CloseRequestFromAnotherThreadEndsTheOtherProgram) {
  Peer peer("kesto peer closing");
  std::thread worker([&] { native::PostMessage(peer.window(), native::kWmClose, 0, 0); });
  worker.join();
  int exitCode = -1;
  ASSERT_TRUE(peer.Ended(10000, exitCode));
  EXPECT_EQ(exitCode, 0) << "it closed itself the ordinary way";
  EXPECT_TRUE(PumpUntil([&] { return !native::IsWindow(peer.window()); }));
  EXPECT_FALSE(shell::IsLiveWindow(peer.window()));
  // A close request to a window that is gone does nothing.
  native::PostMessage(peer.window(), native::kWmClose, 0, 0);
  desktop::Pump(100);
}

}  // namespace
}  // namespace kesto::testing
