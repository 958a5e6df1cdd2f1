// What each toolkit supplies to the front: its user-interface thread, its windows' own
// properties and its message loop. The toolkit's library defines these over its native calls.
#pragma once

#include <functional>

#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

// Runs `work` on the user-interface thread and returns when it has run.
void RunOnUiThread(const std::function<void()>& work);
// Queues `work` for the user-interface thread and returns at once.
void PostToUiThread(std::function<void()> work);
// Whether the calling thread may change windows itself rather than hand the change over.
bool ChangesWindowsHere();

// The properties of the window itself (no control named).
ui::Value ReadWindowProperty(LoadedWindow& window, int index);
void WriteWindowProperty(LoadedWindow& window, int index, const ui::Value& value);

// Ends the message loop when it runs.
void EndMessageLoop();

}  // namespace kesto::front
