// The control contract: windows and controls addressed by their layout names, their
// properties by index, the window and list operations, image lists, the HTML interface box's
// command and event object, and the events. Nothing here assumes a particular toolkit.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <variant>

#include "runtime/core.h"

namespace kesto::ui {

// A window, or a control of it; an empty control name addresses the window itself.
struct Ref {
  Text window;
  Text control;
};

// Property values: integers, logicals, texts and byte data (pictures, image lists).
using Value = std::variant<int, bool, Text, Bytes>;

// Property indices. The common ones hold for every control type and the window; the
// type-specific ones start at 8 in each type's own order.
namespace prop {
constexpr int kLeft = 0;
constexpr int kTop = 1;
constexpr int kWidth = 2;
constexpr int kHeight = 3;
constexpr int kTag = 4;
constexpr int kVisible = 5;
constexpr int kDisable = 6;
constexpr int kMousePointer = 7;
namespace window {
constexpr int kTitle = 8;
constexpr int kWindowState = 18;
constexpr int kIcon = 20;
}  // namespace window
namespace editbox {
constexpr int kContent = 8;
}
namespace tab {
constexpr int kCurrentPage = 12;
}
namespace hyperlinker {
constexpr int kWebAddress = 11;
}
namespace translabel {
constexpr int kText = 8;
}
namespace processbar {
constexpr int kPosition = 13;
}
namespace listview {
constexpr int kImageList = 24;
constexpr int kSelectedIndex = 35;
}  // namespace listview
namespace browser {  // HtmlViewer and WebUIControl
constexpr int kFontSize = 8;
constexpr int kOffline = 9;
constexpr int kSilent = 10;
constexpr int kUrl = 11;
constexpr int kStatusText = 12;
constexpr int kCaption = 13;
}  // namespace browser
}  // namespace prop

// windowState values.
enum WindowState : int {
  kStateNormal = 0,
  kStateCentred = 1,
  kStateMinimised = 2,
  kStateMaximised = 3
};

// Generic property access; a back end stores or applies the value. Reading or writing a
// control of a window that is not loaded is a fatal error.
Value GetProperty(const Ref& ref, int index);
void SetProperty(const Ref& ref, int index, const Value& value);

// A value's content of the wanted type, or that type's empty value; logicals and integers are
// read as each other (true is 1, any integer but 0 is true).
int IntOf(const Value& value);
bool BoolOf(const Value& value);
Text TextOf(const Value& value);
Bytes BytesOf(const Value& value);

// Typed conveniences over the generic access.
int GetInt(const Ref& ref, int index);
bool GetBool(const Ref& ref, int index);
Text GetText(const Ref& ref, int index);
Bytes GetBytes(const Ref& ref, int index);
inline void SetInt(const Ref& ref, int index, int v) {
  SetProperty(ref, index, Value{v});
}
inline void SetBool(const Ref& ref, int index, bool v) {
  SetProperty(ref, index, Value{v});
}
inline void SetText(const Ref& ref, int index, const Text& v) {
  SetProperty(ref, index, Value{v});
}
inline void SetBytes(const Ref& ref, int index, const Bytes& v) {
  SetProperty(ref, index, Value{v});
}

// ---- window and control operations ----
bool LoadWindow(const Text& window);
// Posts a close request; the window is destroyed after the caller has returned. Callable from
// any thread.
void CloseWindow(const Text& window);
// Native handle of a window or control, 0 when not created.
std::intptr_t NativeHandle(const Ref& ref);
void FocusControl(const Ref& ref);
// Pops up the named menu of the window at the pointer (plus 3 pixels) or at x, y.
void PopupMenu(const Text& window, const Text& menu, std::optional<int> x = {},
               std::optional<int> y = {});
// With icon bytes adds or replaces the window's notification-area entry; without, removes it.
void SetTrayIcon(const Text& window, std::optional<Bytes> icon = {}, std::optional<Text> tip = {});
// Whether the desktop has a notification area to hold the entry. Without one, hiding a window to
// the tray would leave the user no way back to it.
bool TrayAvailable();

// ---- ListView methods ----
int ListItemCount(const Ref& list);
void ListDeleteAll(const Ref& list);
int ListInsertItem(const Ref& list, std::optional<int> position = {}, const Text& caption = "",
                   int iconIndex = -1, std::optional<int> stateImageIndex = {},
                   std::optional<int> indent = {}, std::optional<int> itemValue = {});

// ---- image lists (the ListView imageList property's values) ----
Bytes ImageListCreate(int width, int height);
// Adds a picture with a transparent colour (omitted or 0xFF000000: the top-left pixel).
int ImageListAdd(Bytes& imageList, const Bytes& picture,
                 std::optional<std::uint32_t> transparentColour = {});

// ---- HTML interface box ----
enum BrowserCommand : int {
  kForward = 0,
  kBack = 1,
  kHome = 2,
  kSearch = 3,
  kRefresh = 4,
  kStop = 5,
  kSaveAs = 6,
  kPrint = 7,
  kPrintPreview = 8,
  kPageSetup = 9,
};
void Execute(const Ref& box, int command);

// An automation object handed to an element event: the page's event object, whose
// "srcElement" is the element with its "ID" and "name".
class Object {
 public:
  Object() = default;
  bool IsEmpty() const { return !data_; }
  void SetText(const Text& name, const Text& value);
  void SetObject(const Text& name, const Object& value);
  Text ReadText(const Text& name) const;
  Object ReadObject(const Text& name) const;
  void Clear() { data_.reset(); }

 private:
  struct Data {
    std::map<Text, Text> texts;
    std::map<Text, Object> objects;
  };
  std::shared_ptr<Data> data_;
};
Object ObjectReadObject(const Object& object, const Text& property);
Text ObjectReadText(const Object& object, const Text& property);
void ObjectClear(Object& object);

// Element event types (DHTML dispatch identifiers).
enum ElementEvent : int { kEventClick = -600, kEventMouseMove = -606, kEventWheel = 1033 };

// ---- events ----
enum class Event {
  kCreated,         // window
  kDestroying,      // window, while its controls still exist
  kTrayNotify,      // window; a = 1 left up, 2 left double-click, 3 right up / menu key
  kClicked,         // PicBtn
  kLeftButtonDown,  // a = x, b = y, c = key state (1 Ctrl, 2 Shift, 4 Alt)
  kKeyDown,         // EditBox; a = virtual-key code, b = key state
  kItemActivated,   // ListView row double-clicked
  kElementEvent,    // WebUIControl; object = the event object, a = event type
  kMenuChosen,      // menu item
};

struct EventArgs {
  int a = 0;
  int b = 0;
  int c = 0;
  Object object;
};

// A handler's result: no value lets the default action go on; false stops it where the
// event can be stopped (element events, the link box's own opening of its address).
using EventResult = std::optional<bool>;
using Handler = EventResult (*)(const EventArgs&);

// Handlers are bound by the names that the layouts give them.
void RegisterHandler(const Text& name, Handler handler);
Handler FindHandler(const Text& name);

}  // namespace kesto::ui
