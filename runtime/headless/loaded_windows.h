// The headless toolkit's windows and controls: the front's windows held in memory, each window
// (and each control asked for its handle) a window of the fake-window table.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/headless/controls.h"
#include "runtime/toolkit_front/control_place.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::headless::detail {

class Control : public front::Control {
 public:
  Control(front::LoadedWindow& owner, const ui::ControlLayout& layout);

  bool HasNative() const override { return true; }

  // Its fake native window, made when first asked for; 0 until then.
  native::Handle handle = 0;

 protected:
  ui::Value ReadNative(int index) const override;
  void WriteNative(int index, const ui::Value& value) override;

 private:
  front::ControlPlace place_;
  bool visible_, disabled_;
};

class Window : public front::LoadedWindow {
 public:
  explicit Window(const ui::WindowLayout& layout);

  Control* FindControl(const Text& name) const {
    return static_cast<Control*>(front::LoadedWindow::FindControl(name));
  }

  bool HasNative() const override { return handle != 0; }
  void RemoveTrayEntry() override;
  void DestroyNative() override;

  // Brings its fake native window in step with its place, size and shown state.
  void Sync() const;

  native::Handle handle = 0;
  Text title;
  int left, top, width, height;
  bool visible = false, disabled = false, minimised = false, maximised = false;
  int raised = 0;
};

// The loaded window of that name; nullptr when there is none.
std::shared_ptr<Window> FindWindow(const Text& name);
// The control of a loaded window, of the wanted type; nullptr when there is none.
template <class Wanted>
Wanted* FindControlOf(const ui::Ref& ref) {
  std::shared_ptr<Window> window = FindWindow(ref.window);
  return window ? dynamic_cast<Wanted*>(window->FindControl(ref.control)) : nullptr;
}

// What the toolkit keeps beside the windows; the user-interface thread's alone.
struct Toolkit {
  std::optional<TrayView> tray;
  std::weak_ptr<Window> trayOwner;
  bool trayAvailable = true;
  std::deque<std::optional<Text>> menuChoices;
  std::vector<PopupRecord> popups;
  std::optional<ui::Ref> focused;
  std::vector<Text> openedLinks;
};

Toolkit& State();

// The window's fake native window, which follows show commands and close requests given to
// its handle.
native::Handle CreateNativeWindow(const std::shared_ptr<Window>& window);

}  // namespace kesto::headless::detail
