// Property access by window and control name. Reads wait for the user-interface thread; writes
// from another thread (the update worker's progress) are handed to it and return at once.
#include "runtime/win32/toolkit/loaded_windows.h"
#include "runtime/win32/toolkit/ui_thread.h"
#include "runtime/win32/toolkit/window_properties.h"

namespace kesto::win32 {

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

}  // namespace kesto::win32

namespace kesto::ui {

Value GetProperty(const Ref& ref, int index) {
  Value value;
  win32::RunOnUiThread([&] { value = win32::Read(ref, index); });
  return value;
}

void SetProperty(const Ref& ref, int index, const Value& value) {
  if (win32::IsUiThread() || !win32::HasUiThread()) {
    win32::Write(ref, index, value);
    return;
  }
  // A worker's write to a window closed meanwhile (the user closed the update window while it
  // downloads) is dropped: the worker cannot know, and ending the program helps nobody.
  win32::PostToUiThread([ref, index, value] {
    if (win32::FindLoadedWindow(ref.window)) win32::Write(ref, index, value);
  });
}

}  // namespace kesto::ui
