// The table of loaded windows by name; loading a window of a name already loaded replaces it.
#pragma once

#include <map>
#include <memory>

#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

// nullptr when no window of that name is loaded.
std::shared_ptr<LoadedWindow> FindLoadedWindow(const Text& name);
const std::map<Text, std::shared_ptr<LoadedWindow>>& LoadedWindows();
int LoadedWindowCount();
void RegisterLoadedWindow(const std::shared_ptr<LoadedWindow>& window);
// Runs the being-destroyed event, removes the tray entry and destroys the native window; the
// message loop ends with the last window. A window of the same name loaded anew meanwhile stays.
void DestroyLoadedWindow(const std::shared_ptr<LoadedWindow>& window);
// Destroys every native window without events and empties the table: a test's fresh start.
void ForgetLoadedWindows();

// A control of a loaded window, or the fatal error for a window that is not loaded.
LoadedWindow& LoadedWindowOrFail(const Text& window);
Control& ControlOrFail(const ui::Ref& ref);

}  // namespace kesto::front
