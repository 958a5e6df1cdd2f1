// Which program a recorded window belongs to. Window handles are reused (on X11 a new client's
// first window gets the id of the last client's in its slot), so a stale record in [jb] can
// name an unrelated window, or even this process's own. A record counts only when its window
// belongs to a process running the program the key names.
#pragma once

#include "runtime/core.h"
#include "runtime/native.h"

namespace kesto::shell {

// True when the window is live and its process runs the program of `key`: for "pt" this
// platform's own program file, for any other key an application file "<key>.qmz" (or
// "<key>.<anything>.qmz").
bool IsProgramWindow(native::Handle window, const Text& key);

// True when the window belongs to this process.
bool IsOwnWindow(native::Handle window);

}  // namespace kesto::shell
