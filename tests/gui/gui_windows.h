// Loading the platform's windows in the GUI tests, with handlers that record what reached them.
#pragma once

#include <string>
#include <vector>

#include "layouts/names.h"
#include "runtime/native.h"
#include "runtime/ui.h"

namespace kesto::testing {

inline const ui::Ref kMain{names::kMainWindow, ""};
inline ui::Ref MainControl(const char* name) {
  return {names::kMainWindow, name};
}

// Events that reached a recording handler, in order.
struct Reached {
  std::string handler;
  ui::EventArgs args;
};
std::vector<Reached>& ReachedHandlers();
int CountReached(const std::string& handler);

// Binds a recording handler (no result) to the name.
void RecordUnder(const char* handlerName);

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
