// The windows loaded from their layouts and their controls, as GTK widgets.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/layout.h"
#include "runtime/native.h"
#include "runtime/ui.h"

namespace kesto::gtk {

class LoadedWindow;

// One control of a loaded window; each control type derives from it.
class Control {
 public:
  Control(LoadedWindow& owner, const ui::ControlLayout& layout);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const ui::ControlLayout& layout() const { return layout_; }
  LoadedWindow& owner() const { return owner_; }
  // The widget its container places, sizes, shows and hides.
  GtkWidget* widget() const { return widget_; }

  // What takes the keyboard focus for it.
  virtual GtkWidget* FocusTarget() { return widget_; }

  // Where the controls it contains go: a PicBox itself, a Tab's page; nullptr for the rest.
  virtual GtkWidget* ChildArea(int /*page*/) { return nullptr; }

  // Type-specific properties (index 8 on). Without a live counterpart at an index a control
  // gives nullopt / false, and the value is kept and read back as written.
  virtual std::optional<ui::Value> Read(int /*index*/) { return std::nullopt; }
  virtual bool Write(int /*index*/, const ui::Value& /*value*/) { return false; }

  // The common properties (geometry, tag, visibility, enabled state, mouse pointer); any
  // other index is kept as written.
  ui::Value ReadCommon(int index) const;
  void WriteCommon(int index, const ui::Value& value);
  void PlaceIn(GtkWidget* area);

 protected:
  void Adopt(GtkWidget* widget);
  // Runs the handler bound to this control's event; nullopt when none is bound.
  ui::EventResult Fire(ui::Event event, const ui::EventArgs& args = {});
  // Keeps the window's controls alive while a signal callback runs, even when a handler closes
  // the window or pumps events that do.
  std::shared_ptr<LoadedWindow> Hold() const;

 private:
  LoadedWindow& owner_;
  const ui::ControlLayout& layout_;
  GtkWidget* widget_ = nullptr;
  GtkWidget* area_ = nullptr;
  int left_, top_, width_, height_;
  std::map<int, ui::Value> kept_;
};

class LoadedWindow : public std::enable_shared_from_this<LoadedWindow> {
 public:
  explicit LoadedWindow(const ui::WindowLayout& layout) : layout_(layout) {}
  LoadedWindow(const LoadedWindow&) = delete;
  LoadedWindow& operator=(const LoadedWindow&) = delete;

  const ui::WindowLayout& layout() const { return layout_; }
  GtkWidget* window() const { return window_; }
  GtkWidget* root() const { return root_; }
  void SetWidgets(GtkWidget* window, GtkWidget* root) { window_ = window, root_ = root; }

  void AddControl(std::unique_ptr<Control> control);
  Control* FindControl(const Text& name) const;
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  ui::EventResult Fire(const Text& control, ui::Event event, const ui::EventArgs& args = {});

  // Borderless movable windows are dragged by their background and some controls.
  bool DraggedByBackground() const;
  void BeginDrag(GdkEventButton* press);

  // Window properties that are kept rather than read from GTK.
  int windowState = ui::kStateNormal;
  std::map<int, ui::Value> kept;
  int clientWidth = 0, clientHeight = 0;  // as last asked for
  GtkStatusIcon* tray = nullptr;          // the notification-area entry, if any
  bool destroying = false;                // its being-destroyed event is running

 private:
  const ui::WindowLayout& layout_;
  GtkWidget* window_ = nullptr;
  GtkWidget* root_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
};

// nullptr when no window of that name is loaded.
std::shared_ptr<LoadedWindow> FindLoadedWindow(const Text& name);
std::shared_ptr<LoadedWindow> FindLoadedWindow(native::Handle handle);
int LoadedWindowCount();
void RegisterLoadedWindow(const std::shared_ptr<LoadedWindow>& window);
// Runs the being-destroyed event, removes the tray entry and destroys the widgets; the message
// loop ends with the last window. A window of the same name loaded anew meanwhile stays.
void DestroyLoadedWindow(const std::shared_ptr<LoadedWindow>& window);

// A control of a loaded window, or the fatal error for a window that is not loaded.
LoadedWindow& LoadedWindowOrFail(const Text& window);
Control& ControlOrFail(const ui::Ref& ref);

using ui::BoolOf;
using ui::BytesOf;
using ui::IntOf;
using ui::TextOf;

}  // namespace kesto::gtk
