// What each toolkit supplies to the front: its user-interface thread, its windows' own
// properties and its message loop. The toolkit's library defines these over its native calls.
#pragma once

#include <functional>
#include <optional>

#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

// Runs `work` on the user-interface thread and returns when it has run.
void RunOnUiThread(const std::function<void()>& work);
// Queues `work` for the user-interface thread and returns at once.
void PostToUiThread(std::function<void()> work);
// Whether the calling thread may change windows itself rather than hand the change over.
bool ChangesWindowsHere();

// The properties of the window itself that its native window holds (place and size,
// visibility, enabled state, title); nullopt / false for any other index.
std::optional<ui::Value> ReadNativeWindowProperty(LoadedWindow& window, int index);
bool WriteNativeWindowProperty(LoadedWindow& window, int index, const ui::Value& value);
// Whether the window is on screen.
bool WindowShown(LoadedWindow& window);
// The state the user put a shown window in: minimised or maximised; nullopt when neither.
std::optional<int> MinimisedOrMaximised(LoadedWindow& window);
// Applies the state to a window that is on screen.
void ApplyWindowState(LoadedWindow& window, int state);
// Gives the window the pictures of the icon file.
void ShowWindowIcon(LoadedWindow& window, const Bytes& iconFile);

// Ends the message loop when it runs.
void EndMessageLoop();

}  // namespace kesto::front
