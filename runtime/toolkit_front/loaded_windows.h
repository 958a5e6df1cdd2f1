// The windows loaded from their layouts and their controls, as far as they do not depend on a
// toolkit: the properties kept rather than shown, event delivery, the table of loaded windows.
// Each toolkit derives its window and its controls from these and supplies the native parts.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/layout.h"
#include "runtime/ui.h"

namespace kesto::front {

class LoadedWindow;

// One control of a loaded window; each toolkit's control derives from it.
class Control {
 public:
  Control(LoadedWindow& owner, const ui::ControlLayout& layout);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const ui::ControlLayout& layout() const { return layout_; }
  LoadedWindow& owner() const { return owner_; }

  // Whether its native control stands; one that does not cannot be reached by name.
  virtual bool HasNative() const = 0;

  // Type-specific properties (index 8 on). Without a live counterpart at an index a control
  // gives nullopt / false, and the value is kept and read back as written.
  virtual std::optional<ui::Value> Read(int /*index*/) { return std::nullopt; }
  virtual bool Write(int /*index*/, const ui::Value& /*value*/) { return false; }

  // The common properties (geometry, tag, visibility, enabled state, mouse pointer); any
  // other index is kept as written.
  ui::Value ReadCommon(int index) const;
  void WriteCommon(int index, const ui::Value& value);

 protected:
  // The common properties the native control holds: geometry, visibility, enabled state.
  virtual ui::Value ReadNative(int index) const = 0;
  virtual void WriteNative(int index, const ui::Value& value) = 0;
  // Runs the handler bound to this control's event; nullopt when none is bound.
  ui::EventResult Fire(ui::Event event, const ui::EventArgs& args = {});
  // Keeps the window's controls alive while native events are handled, even when a handler
  // closes the window.
  std::shared_ptr<LoadedWindow> Hold() const;

 private:
  LoadedWindow& owner_;
  const ui::ControlLayout& layout_;
  std::map<int, ui::Value> kept_;
};

class LoadedWindow : public std::enable_shared_from_this<LoadedWindow> {
 public:
  explicit LoadedWindow(const ui::WindowLayout& layout) : layout_(layout) {}
  virtual ~LoadedWindow() = default;
  LoadedWindow(const LoadedWindow&) = delete;
  LoadedWindow& operator=(const LoadedWindow&) = delete;

  const ui::WindowLayout& layout() const { return layout_; }

  void AddControl(std::unique_ptr<Control> control);
  Control* FindControl(const Text& name) const;
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  ui::EventResult Fire(const Text& control, ui::Event event, const ui::EventArgs& args = {});

  // Borderless movable windows are dragged by their background and some controls.
  bool DraggedByBackground() const;

  // Whether its native window stands; destroying it ends that.
  virtual bool HasNative() const = 0;
  // Removes its notification-area entry, if any.
  virtual void RemoveTrayEntry() = 0;
  // Destroys the native window with its controls.
  virtual void DestroyNative() = 0;

  // Window properties that are kept rather than read from the toolkit.
  int windowState = ui::kStateNormal;
  std::map<int, ui::Value> kept;
  bool destroying = false;  // its being-destroyed event is running

 private:
  const ui::WindowLayout& layout_;
  std::vector<std::unique_ptr<Control>> controls_;
};

}  // namespace kesto::front
