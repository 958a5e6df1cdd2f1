// Loading the platform's windows in the GUI tests, with handlers that record what reached them.
#pragma once

#include "layouts/names.h"
#include "runtime/native.h"
#include "runtime/ui.h"
#include "tests/recording_handlers/recording_handlers.h"

namespace kesto::testing {

inline const ui::Ref kMain{names::kMainWindow, ""};
inline ui::Ref MainControl(const char* name) {
  return {names::kMainWindow, name};
}

// Loads the window and waits until it is on screen; its X11 id, 0 on failure.
native::Handle LoadAndShow(const char* window);
// Waits until the window manager has stopped moving the loaded window.
void WaitUntilPlaced(const char* window);

// The screen position of a control's point (x, y), walking up its containers.
struct Point {
  int x = 0, y = 0;
};
Point ScreenPoint(const char* window, const char* control, int x, int y);

}  // namespace kesto::testing
