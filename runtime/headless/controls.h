// The headless toolkit's windows and controls, for tests: the control contract of runtime/ui.h
// held in memory, plus what a test needs to act as the user and to see what the program did.
//
// A loaded window (and a control asked for its NativeHandle) is a window of the fake-window
// table (runtime/headless/native_windows.h): a WM_CLOSE posted to it closes the loaded window,
// show commands given to its handle show, hide, minimise or restore it, and the fake window's
// position, size and shown state follow the window's properties.
//
// Windows are built from the layout tables (ui::FindWindowLayout) by the toolkit-independent
// front (runtime/toolkit_front/), the same that the real toolkits run: property rules, window
// state, lists, the tray entry, menus, browser commands and the posting of a worker's writes
// are the shipped ones; only the native side is held in memory here. Handlers are found by the
// names the layouts bind (ui::RegisterHandler); an event without a binding does nothing.
//
// Typical test:
//   headless::ResetAll();                         // no windows, no tray, a fresh frame
//   ui::RegisterHandler(names::kShowCatalogue, ...);
//   ui::LoadWindow(names::kMainWindow);           // runs the created handler
//   headless::Fire({names::kMainWindow, "图形按钮3"}, ui::Event::kClicked);
//   EXPECT_EQ(headless::Navigations({names::kMainWindow, "超文本界面框1"}).back(), ...);
//   headless::ChooseMenu(names::kExitMenuItem);   // the next pop-up menu picks this item
//   headless::TrayNotify(3);                      // pops up the tray menu
//   ProcessEvents();                              // the chosen item's event runs
//
// Posted work (CloseWindow, a chosen menu item, a worker thread's property write) runs when the
// frame's queue is drained: kesto::ProcessEvents(), headless::RunUntil(...) or the message loop
// (runtime/headless/frame.h). A worker thread's other calls wait there until it is drained.
// A handler that ends the program throws headless::ProgramEnded out of the call that ran it.
#pragma once

#include <optional>
#include <vector>

#include "runtime/native.h"
#include "runtime/ui.h"

namespace kesto::headless {

// The screen the headless windows are centred on.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// Starts afresh: destroys every window without events, removes the tray entry, makes a
// notification area available again, forgets scripted menu choices and every record, forgets
// every fake native window (headless::ResetFakeWindows) and resets the frame
// (headless::ResetFrame).
void ResetAll();

// ---- windows ----
bool IsLoaded(const Text& window);
// How a loaded window stands; all zero and false when it is not loaded.
struct WindowView {
  bool visible = false;
  bool minimised = false;
  bool maximised = false;
  int left = 0, top = 0, width = 0, height = 0;
  int raised = 0;  // times LoadWindow brought the already loaded window to the front
};
WindowView ViewWindow(const Text& window);
// Whether the user can see the window or control: the window is visible and not minimised, the
// control and each of its containers are visible, and every tab on the way shows its page.
bool IsShown(const ui::Ref& ref);
// The control that last got the keyboard focus through FocusControl.
std::optional<ui::Ref> Focused();

// ---- events ----
// Runs the handler bound to the event of the window or control and gives its result; nothing
// (and no value) without a binding, a registered handler or a loaded window. A menu item is
// addressed by its caption as the control name.
ui::EventResult Fire(const ui::Ref& ref, ui::Event event, const ui::EventArgs& args = {});
// A click or other element event in an HTML interface box: the event object's "srcElement"
// is an element with the given "ID" and "name".
ui::EventResult FireElementEvent(const ui::Ref& box, int eventType, const Text& id,
                                 const Text& name);
// The left button pressed on a link box: its handler runs, then, unless it returned false,
// the box opens its webAddress when it has one (see OpenedLinks).
ui::EventResult PressLink(const ui::Ref& link, int x = 0, int y = 0, int keyState = 0);
// A key pressed in a box.
ui::EventResult PressKey(const ui::Ref& box, int keyCode, int keyState = 0);
// A notification from the tray entry to its window (1 left up, 2 left double-click, 3 right up);
// nothing when there is no tray entry.
ui::EventResult TrayNotify(int code);
// Selects a row (-1: none), as a click would; a row out of range selects none.
void SelectRow(const ui::Ref& list, int row);
// Selects the row and activates it, as a double-click does.
ui::EventResult DoubleClickRow(const ui::Ref& list, int row);

// Addresses the link boxes opened in the default browser, oldest first.
std::vector<Text> OpenedLinks();

// ---- pop-up menus ----
// The next pop-up menu picks this item (by caption), or closes without a choice (nullopt). With
// nothing queued a menu closes without a choice. The chosen item's event is posted.
void ChooseMenu(std::optional<Text> item);
struct PopupRecord {
  Text window;
  Text menu;
  std::optional<int> x, y;
  std::optional<Text> chosen;
};
std::vector<PopupRecord> Popups();

// ---- tray ----
struct TrayView {
  Text window;
  Bytes icon;
  Text tip;
  int adds = 0;      // NIM_ADD calls since the entry was last absent (1 while it lives)
  int modifies = 0;  // NIM_MODIFY calls
};
// The notification-area entry, if there is one.
std::optional<TrayView> TrayEntry();
// Whether the desktop has a notification area (ui::TrayAvailable); true unless a test says not.
void SetTrayAvailable(bool available);

// ---- browsers, lists ----
// Every address a browser or HTML box went to, the layout's initial one first (when it has
// one), oldest first.
std::vector<Text> Navigations(const ui::Ref& box);
// Every Execute command given to the box, oldest first.
std::vector<int> Commands(const ui::Ref& box);
// How often the box was told to refresh (Execute with 4).
int RefreshCount(const ui::Ref& box);

struct Row {
  Text caption;
  int iconIndex = -1;
  std::optional<int> stateImageIndex;
  int indent = 0;
  std::optional<int> itemValue;
};
std::vector<Row> Rows(const ui::Ref& list);

}  // namespace kesto::headless
