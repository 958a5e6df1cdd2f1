// The windows loaded from their layouts and their controls, as GTK widgets.
#pragma once

#include <gtk/gtk.h>

#include <memory>

#include "runtime/native.h"
#include "runtime/toolkit_front/control_place.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::gtk {

class LoadedWindow;
class StatusNotifierItem;

// One control of a loaded window; each control type derives from it.
class Control : public front::Control {
 public:
  Control(LoadedWindow& owner, const ui::ControlLayout& layout);

  LoadedWindow& owner() const;
  // The widget its container places, sizes, shows and hides.
  GtkWidget* widget() const { return widget_; }
  bool HasNative() const override { return true; }

  // What takes the keyboard focus for it.
  virtual GtkWidget* FocusTarget() { return widget_; }

  // Where the controls it contains go: a PicBox itself, a Tab's page; nullptr for the rest.
  virtual GtkWidget* ChildArea(int /*page*/) { return nullptr; }

  void PlaceIn(GtkWidget* area);

 protected:
  void Adopt(GtkWidget* widget);
  ui::Value ReadNative(int index) const override;
  void WriteNative(int index, const ui::Value& value) override;

 private:
  GtkWidget* widget_ = nullptr;
  GtkWidget* area_ = nullptr;
  front::ControlPlace place_;
};

class LoadedWindow : public front::LoadedWindow {
 public:
  using front::LoadedWindow::LoadedWindow;

  GtkWidget* window() const { return window_; }
  GtkWidget* root() const { return root_; }
  void SetWidgets(GtkWidget* window, GtkWidget* root) { window_ = window, root_ = root; }

  Control* FindControl(const Text& name) const {
    return static_cast<Control*>(front::LoadedWindow::FindControl(name));
  }

  void BeginDrag(GdkEventButton* press);

  bool HasNative() const override { return window_ != nullptr; }
  void RemoveTrayEntry() override;
  void DestroyNative() override;

  // Window properties that are kept rather than read from GTK.
  int clientWidth = 0, clientHeight = 0;         // as last asked for
  GtkStatusIcon* tray = nullptr;                 // the notification-area entry, if any
  std::shared_ptr<StatusNotifierItem> notifier;  // the same entry for a StatusNotifier host

 private:
  GtkWidget* window_ = nullptr;
  GtkWidget* root_ = nullptr;
};

inline LoadedWindow& Control::owner() const {
  return static_cast<LoadedWindow&>(front::Control::owner());
}

// nullptr when no window of that name is loaded.
std::shared_ptr<LoadedWindow> FindLoadedWindow(const Text& name);
std::shared_ptr<LoadedWindow> FindLoadedWindow(native::Handle handle);
// Fires the event once the main loop is idle, if the window is still there: for events that
// arrive as calls from another program, which must be answered before a handler may hold the
// user in a message box.
void FireWhenIdle(std::weak_ptr<front::LoadedWindow> window, Text control, ui::Event event,
                  ui::EventArgs args = {});
using front::DestroyLoadedWindow;
using front::LoadedWindowCount;

using ui::BoolOf;
using ui::BytesOf;
using ui::IntOf;
using ui::TextOf;

}  // namespace kesto::gtk
