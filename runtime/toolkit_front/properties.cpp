// Property access by window and control name. Reads wait for the user-interface thread; writes
// from another thread (the update worker's progress) are handed to it and return at once.
#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/window_properties.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::front {

namespace {

constexpr int kFirstTypeProperty = 8;

ui::Value Read(const ui::Ref& ref, int index) {
  LoadedWindow& window = LoadedWindowOrFail(ref.window);
  if (ref.control.empty()) return ReadWindowProperty(window, index);
  Control& control = ControlOrFail(ref);
  if (index >= kFirstTypeProperty) {
    if (std::optional<ui::Value> live = control.Read(index)) return *live;
  }
  return control.ReadCommon(index);
}

void Write(const ui::Ref& ref, int index, const ui::Value& value) {
  LoadedWindow& window = LoadedWindowOrFail(ref.window);
  if (ref.control.empty()) {
    WriteWindowProperty(window, index, value);
    return;
  }
  Control& control = ControlOrFail(ref);
  if (index < kFirstTypeProperty || !control.Write(index, value)) control.WriteCommon(index, value);
}

}  // namespace

}  // namespace kesto::front

namespace kesto::ui {

Value GetProperty(const Ref& ref, int index) {
  Value value;
  front::RunOnUiThread([&] { value = front::Read(ref, index); });
  return value;
}

void SetProperty(const Ref& ref, int index, const Value& value) {
  if (front::ChangesWindowsHere()) {
    front::Write(ref, index, value);
    return;
  }
  // A worker's write to a window closed meanwhile (the user closed the update window while it
  // downloads) is dropped: the worker cannot know, and ending the program helps nobody.
  front::PostToUiThread([ref, index, value] {
    if (front::FindLoadedWindow(ref.window)) front::Write(ref, index, value);
  });
}

}  // namespace kesto::ui
