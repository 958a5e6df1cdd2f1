#include "runtime/win32/toolkit/session_end.h"

#include <memory>
#include <vector>

#include "runtime/core.h"
#include "runtime/toolkit_front/window_table.h"
#include "runtime/win32/session_end_holds.h"

namespace kesto::win32 {

namespace {

// What is held is let finish first. Then every window goes with its being-destroyed event (the
// tray icon with it) and the exit routine runs: once this returns, Windows may end the process
// at any moment.
[[noreturn]] void EndWithSession() {
  WaitForSessionEndHolds();
  std::vector<std::shared_ptr<front::LoadedWindow>> windows;
  for (const auto& [name, window] : front::LoadedWindows()) windows.push_back(window);
  for (const auto& window : windows) front::DestroyLoadedWindow(window);
  EndProgram(0);
}

}  // namespace

bool HandleSessionEndMessage(HWND window, UINT message, WPARAM wParam, LRESULT& result) {
  switch (message) {
    case WM_QUERYENDSESSION:
      ShowSessionEndReason(window);
      result = SessionEndHeld() ? FALSE : TRUE;
      return true;
    case WM_ENDSESSION:
      // A session that goes on (another program said no) leaves everything as it was.
      if (wParam) EndWithSession();
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace kesto::win32
