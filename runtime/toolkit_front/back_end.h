// What each toolkit supplies to the front: its user-interface thread, its native windows, their
// own properties and its message loop. The toolkit's library defines these over its native
// calls.
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

// Makes the native window of the layout with its controls (front::MakeControl); nullptr when
// the toolkit cannot.
std::shared_ptr<LoadedWindow> BuildWindow(const ui::WindowLayout& layout);
// Shows a window just built whose layout has it visible.
void ShowNewWindow(LoadedWindow& window);
// Brings a window loaded before to the front, as loading it again does.
void RaiseWindow(LoadedWindow& window);

// Native handles (runtime/native.h): the window's, and a control's where it has one of its own
// (0 where it does not).
std::intptr_t WindowHandle(LoadedWindow& window);
std::intptr_t ControlHandle(Control& control);
// Gives the control the keyboard focus.
void GiveFocus(Control& control);

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

// Adds or replaces the window's notification-area entry; the tip is cut to what the area holds.
void ShowTrayEntry(LoadedWindow& window, const Bytes& icon, const Text& tip);

// Pops up the menu's items with its corner at x, y; a coordinate not given is the pointer's
// plus kMenuOffsetFromPointer. The chosen item's event comes after the menu has gone.
constexpr int kMenuOffsetFromPointer = 3;
void ShowPopupMenu(LoadedWindow& window, const ui::MenuLayout& menu, std::optional<int> x,
                   std::optional<int> y);

// Ends the message loop when it runs.
void EndMessageLoop();

}  // namespace kesto::front
