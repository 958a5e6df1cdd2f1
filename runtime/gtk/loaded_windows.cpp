#include "runtime/gtk/loaded_windows.h"

#include "runtime/gtk/tray_icon.h"
#include "runtime/gtk/x11_access.h"

namespace kesto::gtk {

// ---- Control ----

Control::Control(LoadedWindow& owner, const ui::ControlLayout& layout)
    : front::Control(owner, layout), place_(layout) {}

void Control::Adopt(GtkWidget* widget) {
  widget_ = widget;
  gtk_widget_set_size_request(widget_, std::max(place_.width, 0), std::max(place_.height, 0));
  gtk_widget_set_sensitive(widget_, !layout().disabled);
}

void Control::PlaceIn(GtkWidget* area) {
  area_ = area;
  gtk_fixed_put(GTK_FIXED(area_), widget_, place_.left, place_.top);
  gtk_widget_set_visible(widget_, layout().visible);
}

ui::Value Control::ReadNative(int index) const {
  if (std::optional<int> place = place_.Read(index)) return *place;
  switch (index) {
    case ui::prop::kVisible:
      return static_cast<bool>(gtk_widget_get_visible(widget_));
    default:  // ui::prop::kDisable
      return !gtk_widget_get_sensitive(widget_);
  }
}

void Control::WriteNative(int index, const ui::Value& value) {
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop:
      place_.Write(index, IntOf(value));
      if (area_) gtk_fixed_move(GTK_FIXED(area_), widget_, place_.left, place_.top);
      break;
    case ui::prop::kWidth:
    case ui::prop::kHeight:
      place_.Write(index, IntOf(value));
      gtk_widget_set_size_request(widget_, std::max(place_.width, 0), std::max(place_.height, 0));
      break;
    case ui::prop::kVisible:
      gtk_widget_set_visible(widget_, BoolOf(value));
      break;
    default:  // ui::prop::kDisable
      gtk_widget_set_sensitive(widget_, !BoolOf(value));
      break;
  }
}

// ---- LoadedWindow ----

void LoadedWindow::BeginDrag(GdkEventButton* press) {
  if (!DraggedByBackground() || press->button != GDK_BUTTON_PRIMARY ||
      press->type != GDK_BUTTON_PRESS) {
    return;
  }
  gtk_window_begin_move_drag(GTK_WINDOW(window_), static_cast<gint>(press->button),
                             static_cast<gint>(press->x_root), static_cast<gint>(press->y_root),
                             press->time);
}

void LoadedWindow::RemoveTrayEntry() {
  gtk::RemoveTrayEntry(*this);
}

void LoadedWindow::DestroyNative() {
  gtk_widget_destroy(window_);
  SetWidgets(nullptr, nullptr);
}

// ---- the table of loaded windows, with GTK's types ----

std::shared_ptr<LoadedWindow> FindLoadedWindow(const Text& name) {
  return std::static_pointer_cast<LoadedWindow>(front::FindLoadedWindow(name));
}

std::shared_ptr<LoadedWindow> FindLoadedWindow(native::Handle handle) {
  for (const auto& [name, window] : front::LoadedWindows()) {
    auto loaded = std::static_pointer_cast<LoadedWindow>(window);
    if (handle != 0 && XidOf(loaded->window()) == handle) return loaded;
  }
  return nullptr;
}

namespace {
struct IdleEvent {
  std::weak_ptr<front::LoadedWindow> window;
  Text control;
  ui::Event event;
  ui::EventArgs args;
};

gboolean FireIdleEvent(gpointer data) {
  std::unique_ptr<IdleEvent> idle(static_cast<IdleEvent*>(data));
  if (std::shared_ptr<front::LoadedWindow> window = idle->window.lock()) {
    window->Fire(idle->control, idle->event, idle->args);
  }
  return G_SOURCE_REMOVE;
}
}  // namespace

void FireWhenIdle(std::weak_ptr<front::LoadedWindow> window, Text control, ui::Event event,
                  ui::EventArgs args) {
  g_idle_add(FireIdleEvent, new IdleEvent{std::move(window), std::move(control), event, args});
}

}  // namespace kesto::gtk
