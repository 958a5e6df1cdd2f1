// Property access by window and control name. Reads wait for the user-interface thread; writes
// from another thread (the update worker's progress) are handed to it and return at once.
#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/ui_thread.h"
#include "runtime/gtk/window_properties.h"

namespace kesto::gtk {

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

}  // namespace kesto::gtk

namespace kesto::ui {

Value GetProperty(const Ref& ref, int index) {
  Value value;
  gtk::RunOnUiThread([&] { value = gtk::Read(ref, index); });
  return value;
}

void SetProperty(const Ref& ref, int index, const Value& value) {
  if (gtk::IsUiThread()) {
    gtk::Write(ref, index, value);
    return;
  }
  // A worker's write to a window closed meanwhile (the user closed the update window while it
  // downloads) is dropped: the worker cannot know, and ending the program helps nobody.
  gtk::PostToUiThread([ref, index, value] {
    if (gtk::FindLoadedWindow(ref.window)) gtk::Write(ref, index, value);
  });
}

}  // namespace kesto::ui
