// Native window operations on another program's window: liveness of any id, the activation
// sequence on a minimised, hidden or maximised window, the close request.
#include <X11/Xatom.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "runtime/gtk/x11_access.h"
#include "shell/window_activation.h"
#include "tests/runtime/gtk/gui_support.h"

namespace kesto::testing {
namespace {

// The peer program with its window on screen.
class Peer {
 public:
  explicit Peer(const char* title) {
    gchar* argv[] = {const_cast<gchar*>(KESTO_PEER_WINDOW), const_cast<gchar*>(title), nullptr};
    int out = -1;
    if (!g_spawn_async_with_pipes(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr,
                                  nullptr, &pid_, nullptr, &out, nullptr, nullptr)) {
      return;
    }
    FILE* reader = fdopen(out, "r");
    unsigned long id = 0;
    if (reader && std::fscanf(reader, "%lu", &id) == 1) window_ = native::Handle(id);
    if (reader) std::fclose(reader);
    PumpUntil([&] { return IsMapped(window_); });
    WaitUntilSteady([&] {
      native::Rect rect;
      native::GetWindowRect(window_, rect);
      return std::vector<int>{rect.left, rect.top, rect.right, rect.bottom};
    });
  }
  ~Peer() {
    if (pid_ && !ended_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (pid_) g_spawn_close_pid(pid_);
  }
  native::Handle window() const { return window_; }
  // Whether it ended by itself within the time, and with which code.
  bool Ended(int timeoutMs, int& exitCode) {
    int status = 0;
    PumpUntil([&] { return ended_ = waitpid(pid_, &status, WNOHANG) == pid_; }, timeoutMs);
    exitCode = ended_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ended_;
  }

 private:
  GPid pid_ = 0;
  native::Handle window_ = 0;
  bool ended_ = false;
};

native::Handle ActiveWindow() {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  native::Handle active = 0;
  if (XGetWindowProperty(gtk::XDisplay(), gtk::XRootWindow(), gtk::XAtom("_NET_ACTIVE_WINDOW"), 0,
                         1, False, AnyPropertyType, &type, &format, &count, &after,
                         &data) == Success &&
      data && count == 1) {
    active = native::Handle(reinterpret_cast<unsigned long*>(data)[0]);
  }
  if (data) XFree(data);
  return active;
}

// Who holds the input focus and what the window manager says is active, for a failure's message.
std::string DescribeFocus(native::Handle expected) {
  Window focus = None;
  int revert = 0;
  XGetInputFocus(gtk::XDisplay(), &focus, &revert);
  return "expected " + std::to_string(expected) + ", active " + std::to_string(ActiveWindow()) +
         ", input focus " + std::to_string(focus) + ", mapped " +
         std::to_string(IsMapped(expected)) + ", iconic " + std::to_string(IsIconic(expected));
}

// Whether the window manager has the window maximised both ways (_NET_WM_STATE).
bool IsMaximised(native::Handle window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  int both = 0;
  gtk::XErrorTrap trap;
  if (XGetWindowProperty(gtk::XDisplay(), Window(window), gtk::XAtom("_NET_WM_STATE"), 0, 16, False,
                         XA_ATOM, &type, &format, &count, &after, &data) == Success &&
      data) {
    for (unsigned long i = 0; i < count; ++i) {
      const Atom state = reinterpret_cast<Atom*>(data)[i];
      both += state == gtk::XAtom("_NET_WM_STATE_MAXIMIZED_VERT") ||
              state == gtk::XAtom("_NET_WM_STATE_MAXIMIZED_HORZ");
    }
  }
  if (data) XFree(data);
  trap.Failed();
  return both == 2;
}

void Activate(native::Handle window) {
  shell::ActivateWindow(window);
}

class NativeWindows : public ::testing::Test {
 protected:
  void SetUp() override { KESTO_REQUIRE_DISPLAY(); }
};

TEST_F(NativeWindows, AnyIdIsAskedSafely) {
  Peer peer("kesto peer alive");
  ASSERT_NE(peer.window(), 0);
  EXPECT_TRUE(native::IsWindow(peer.window()));
  EXPECT_TRUE(native::IsWindow(native::Handle(gtk::XRootWindow())));
  EXPECT_FALSE(native::IsWindow(0));
  EXPECT_FALSE(native::IsWindow(-5));
  EXPECT_FALSE(native::IsWindow(native::Handle(1) << 40));
  const Window gone = XCreateSimpleWindow(gtk::XDisplay(), gtk::XRootWindow(), 0, 0, 5, 5, 0, 0, 0);
  EXPECT_TRUE(native::IsWindow(native::Handle(gone)));
  XDestroyWindow(gtk::XDisplay(), gone);
  EXPECT_FALSE(native::IsWindow(native::Handle(gone)));
  native::Rect rect;
  ASSERT_TRUE(native::GetWindowRect(peer.window(), rect));
  EXPECT_EQ(rect.right - rect.left, 300);
  EXPECT_EQ(rect.bottom - rect.top, 200);
  EXPECT_FALSE(native::GetWindowRect(native::Handle(gone), rect));
}

TEST_F(NativeWindows, ActivationBringsAMinimisedWindowToTheFront) {
  Peer other("kesto peer other");
  Peer peer("kesto peer minimised");
  native::ShowWindow(peer.window(), native::kSwMinimize);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(peer.window()); }));
  native::SetForegroundWindow(other.window());
  ASSERT_TRUE(PumpUntil([&] { return ActiveWindow() == other.window(); }));
  Activate(peer.window());
  EXPECT_TRUE(PumpUntil([&] { return IsMapped(peer.window()) && !IsIconic(peer.window()); }));
  EXPECT_TRUE(PumpUntil([&] { return ActiveWindow() == peer.window(); }))
      << DescribeFocus(peer.window());
  Screenshot("activated-peer");
}

TEST_F(NativeWindows, ActivationShowsAHiddenWindow) {
  Peer peer("kesto peer hidden");
  native::ShowWindow(peer.window(), native::kSwHide);
  ASSERT_TRUE(PumpUntil([&] { return !IsMapped(peer.window()); }));
  EXPECT_TRUE(native::IsWindow(peer.window())) << "hidden is not gone";
  Activate(peer.window());
  EXPECT_TRUE(PumpUntil([&] { return IsMapped(peer.window()); }));
  EXPECT_TRUE(PumpUntil([&] { return ActiveWindow() == peer.window(); }))
      << DescribeFocus(peer.window());
}

TEST_F(NativeWindows, ActivationLeavesAMaximisedWindowMaximised) {
  Peer other("kesto peer other");
  Peer peer("kesto peer maximised");
  native::ShowWindow(peer.window(), native::kSwMaximize);
  ASSERT_TRUE(PumpUntil([&] { return IsMaximised(peer.window()); }));
  native::SetForegroundWindow(other.window());
  ASSERT_TRUE(PumpUntil([&] { return ActiveWindow() == other.window(); }));
  Activate(peer.window());
  EXPECT_TRUE(PumpUntil([&] { return ActiveWindow() == peer.window(); }))
      << DescribeFocus(peer.window());
  Pump(500);
  EXPECT_TRUE(IsMaximised(peer.window()));
}

TEST_F(NativeWindows, CloseRequestEndsTheOtherProgram) {
  Peer peer("kesto peer closing");
  native::PostMessage(peer.window(), native::kWmClose, 0, 0);
  int exitCode = -1;
  ASSERT_TRUE(peer.Ended(5000, exitCode));
  EXPECT_EQ(exitCode, 0) << "it closed itself the ordinary way";
  EXPECT_TRUE(PumpUntil([&] { return !native::IsWindow(peer.window()); }));
  // A close request to a window that is gone, or other messages, do nothing.
  native::PostMessage(peer.window(), native::kWmClose, 0, 0);
  Pump(100);
}

TEST_F(NativeWindows, CloseRequestFromAnotherThreadIsDelivered) {
  Peer peer("kesto peer closing from a thread");
  std::thread worker([&] { native::PostMessage(peer.window(), native::kWmClose, 0, 0); });
  worker.join();
  int exitCode = -1;
  EXPECT_TRUE(peer.Ended(5000, exitCode));
}

}  // namespace
}  // namespace kesto::testing
