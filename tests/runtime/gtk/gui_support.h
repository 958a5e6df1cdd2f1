// What the GUI tests share: the private X session they run in, pumping the GTK loop while they
// wait, driving the desktop with xdotool, screenshots kept as artefacts, and the local page
// server the browser controls are routed through.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/native.h"
#include "runtime/ui.h"

namespace kesto::testing {

class XSession;
// The session the tests run in; nullptr where there is none.
XSession*& CurrentXSession();

// Why GUI tests cannot run here; empty when they can. Set once by the test program's main.
std::string& GuiSkipReason();

// Where screenshots and server logs go (inside the build folder).
std::string ArtefactFolder();

// Makes a recorder the desktop's default web browser for this process and its children, so
// that nothing real opens; the addresses it was asked to open, one a line.
void InstallRecordingBrowser();
void RemoveRecordingBrowser();
std::string OpenedAddresses();
void ForgetOpenedAddresses();

// Runs the GTK loop for that long, or until `done` holds (false on time-out).
void Pump(int ms);
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 15000);
// Runs the GTK loop until what `look` sees has stayed the same for 300 ms (at most 10 s): the
// end of a movement that comes in steps nobody announces.
void WaitUntilSteady(const std::function<std::vector<int>()>& look);

struct ToolRun {
  int exitCode = -1;
  std::string output;
};
// Runs a command line tool to its end while the GTK loop keeps running.
ToolRun RunTool(const std::vector<std::string>& argv, int timeoutMs = 15000);
// xdotool with these arguments; true when it succeeded.
bool XDo(const std::vector<std::string>& arguments);
// Starts a tool and leaves it running (it is reaped by GLib when it ends).
void StartTool(const std::vector<std::string>& argv);

// The whole screen as it is now, also saved as <artefacts>/<name>.png.
struct PixbufDeleter {
  void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using Screen = std::unique_ptr<GdkPixbuf, PixbufDeleter>;
Screen Screenshot(const std::string& name);
// Takes the screen again and again until `drawn` holds for it (or the time is up) and keeps the
// last one: drawing reaches the screen some frames after the change that asks for it.
Screen ScreenshotWhen(const std::string& name, const std::function<bool(GdkPixbuf*)>& drawn,
                      int timeoutMs = 10000);
std::uint32_t PixelAt(GdkPixbuf* screen, int x, int y);  // 0xRRGGBB
// Whether some pixel of the area has exactly that colour.
bool AreaHasColour(GdkPixbuf* screen, int x, int y, int width, int height, std::uint32_t rgb);

// The screen rectangle of a loaded window (client area).
native::Rect WindowRect(const Text& window);
bool IsMapped(native::Handle window);
bool IsIconic(native::Handle window);
// Whether a window's list of atoms (such as _NET_WM_STATE) holds the one named.
bool HasAtom(native::Handle window, const char* property, const char* name);

// The test pages, served on 127.0.0.1; every page the browser controls ask for, whatever its
// host, is fetched through it.
class PageServer {
 public:
  PageServer();
  ~PageServer();
  bool ok() const { return port_ > 0; }
  int port() const { return port_; }

 private:
  GPid pid_ = 0;
  int input_ = -1;
  int port_ = 0;
};

}  // namespace kesto::testing

// Skips the test, saying why, where there is no X server.
#define KESTO_REQUIRE_DISPLAY()                                                  \
  do {                                                                           \
    if (!::kesto::testing::GuiSkipReason().empty())                              \
      GTEST_SKIP() << "GUI test skipped: " << ::kesto::testing::GuiSkipReason(); \
  } while (0)
