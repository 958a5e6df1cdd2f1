// Driving real windows under Wine in the GUI tests: pumping the message loop, real X input and
// screenshots through the Unix tools (Wine starts Unix programs by their path), and handlers
// that record what reached them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/core.h"
#include "runtime/ui.h"
#include "tests/recording_handlers/recording_handlers.h"

namespace kesto::testing {

// Dispatches the user-interface thread's messages for `ms` milliseconds.
void Pump(int ms);
// Pumps until `done` holds or `ms` milliseconds have passed; whether it held.
bool PumpUntil(const std::function<bool()>& done, int ms);

// Runs a shell command line on the Unix side and waits for it; its exit code, -1 when it could
// not start. Double quotes inside are not allowed.
int RunUnix(const std::string& command);
// The standard output of such a command.
std::string UnixOutput(const std::string& command);

// xdotool with the arguments, e.g. XDo("mousemove 10 20").
void XDo(const std::string& arguments);

// Saves the whole screen as <artefacts>/<name>.png and returns nothing; a test artefact.
void Screenshot(const std::string& name);
// The colour (0xRRGGBB) of a screen pixel as the X server shows it.
std::uint32_t ScreenPixel(int x, int y);

// The middle of the tray entry that Wine docked in trayer's panel; {0, 0} while there is none.
POINT DockedTrayEntry();

// Window rectangle in screen coordinates.
RECT WindowRectOf(HWND hwnd);
// The screen point (x, y) of a control of a loaded window.
POINT ControlPoint(const ui::Ref& control, int x, int y);

// Loads the window, waits until it is on screen and returns its handle; nullptr on failure.
HWND LoadAndShow(const char* window);
// Closes every loaded window the test loaded, and waits until they are gone.
void CloseAndWait(const char* window);

}  // namespace kesto::testing
