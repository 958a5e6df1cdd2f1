// What a program asks about any window before it has a toolkit of its own: whether a window
// is there and which process made it, on an X connection of this file's own that lives from
// the first question to the end of the process. Thread-safe; no X error ever reaches a handler.
#pragma once

namespace kesto::x11 {

// Whether the X server can be reached at all (DISPLAY names a server that accepts us).
bool DisplayReachable();

}  // namespace kesto::x11
