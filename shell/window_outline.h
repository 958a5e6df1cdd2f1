// The main window's rounded outline.
#pragma once

#include "runtime/native.h"

namespace kesto::shell {

// Gives the window a rounded-rectangle outline one pixel inside its screen rectangle, with
// corners of the given radius.
void RoundWindowCorners(native::Handle window, int radius);

}  // namespace kesto::shell
