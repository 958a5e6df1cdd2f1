// What the conformance scenarios need of the desktop they run on, written once for each real
// toolkit (GTK on an X session, Win32 under Wine on an X session): the user-interface loop
// pumped while a scenario waits, what the screen and the window manager show, and another
// program's window. Input is real X input through xdotool on both.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "runtime/core.h"
#include "runtime/native.h"
#include "runtime/ui.h"

namespace kesto::testing::desktop {

// Why the scenarios cannot run here; empty when they can.
std::string SkipReason();

// The session's screen, in pixels.
constexpr int kScreenWidth = 1280, kScreenHeight = 1024;
// The longest double-click time of the sessions, in milliseconds: xdotool's two presses of a
// double click can reach the X server far apart under load.
constexpr int kDoubleClickMs = 1200;

// Runs the user-interface loop for that long, or until `done` holds (false on time-out).
void Pump(int ms);
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 15000);

// Loads the window and waits until the window manager has placed it on screen; its native
// handle, 0 on failure.
native::Handle LoadAndShow(const char* window);
// Closes the loaded window and waits until it is gone; nothing when it is not loaded.
void CloseAndWait(const char* window);

struct Point {
  int x = 0, y = 0;
};
// The screen position of the point (x, y) of a control's client area.
Point ControlPoint(const ui::Ref& control, int x, int y);

// The screen position of the middle of a list view's row's picture.
Point ListItemPoint(const ui::Ref& list, int row);

// What the window manager shows of a top-level window.
bool IsShown(native::Handle window);
bool IsMinimised(native::Handle window);
bool IsMaximised(native::Handle window);
bool IsAlwaysOnTop(native::Handle window);
// The window that has the user's input.
native::Handle ActiveWindow();
// A window that is always there (the desktop's root).
native::Handle DesktopWindow();

// xdotool with these arguments (e.g. "mousemove 10 20"), run to its end while the
// user-interface loop keeps running.
void XDo(const std::string& arguments);
// The colour (0xRRGGBB) of a screen pixel as the X server shows it now.
std::uint32_t ScreenPixel(int x, int y);
// Keeps the whole screen as <artefacts>/<name>.png.
void Screenshot(const std::string& name);

// Whether a message box with this caption is on screen.
bool BoxShown(const Text& caption);
// Presses the keys (xdotool's names) on the box with this caption once it is on screen, without
// waiting for it: the box may be one the caller is about to block in.
void AnswerBox(const Text& caption, const std::string& keys);

// Waits until the main window's tray entry is docked in the session's notification area and
// placed there; the middle of the entry on screen, {0, 0} when it did not come.
Point WaitForTrayEntry();
// Whether a pop-up menu is on screen.
bool TrayMenuShown();
// Once a pop-up menu is on screen, clicks its first item (`firstItem`) or a point of the screen
// away from it, without waiting: the user-interface thread may sit in the menu's loop of its
// own by then. (The keyboard does not reach a tray menu under Wine while its window is hidden.)
void ClickTrayMenuWhenShown(bool firstItem);

// Another program with one plain top-level window of 300 x 200 with the title given, on screen
// until it is asked to close, when it ends with exit code 0.
class Peer {
 public:
  explicit Peer(const char* title);
  ~Peer();
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;
  native::Handle window() const { return window_; }
  std::uint32_t processId() const;
  // Whether it ended by itself within the time, and with which code.
  bool Ended(int timeoutMs, int& exitCode);

  struct Process;

 private:
  std::unique_ptr<Process> process_;
  native::Handle window_ = 0;
};

}  // namespace kesto::testing::desktop
