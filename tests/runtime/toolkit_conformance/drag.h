// Dragging with the mouse in the conformance scenarios.
#pragma once

#include "tests/runtime/toolkit_conformance/desktop.h"

namespace kesto::testing::desktop {

// Presses the left button at `from`, moves it by (dx, dy) in five steps and lets it go, in one
// xdotool run: on Windows a window being dragged moves in a loop of its own until the button
// goes up.
void Drag(Point from, int dx, int dy);

}  // namespace kesto::testing::desktop
