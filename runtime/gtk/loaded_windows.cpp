#include "runtime/gtk/loaded_windows.h"

#include "runtime/gtk/tray_icon.h"
#include "runtime/gtk/x11_access.h"

namespace kesto::gtk {

namespace {

constexpr char kWindowNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
constexpr char kControlNotCreated[] = "指定窗口尚未载入";

std::map<Text, std::shared_ptr<LoadedWindow>>& Registry() {
  static std::map<Text, std::shared_ptr<LoadedWindow>> windows;
  return windows;
}

}  // namespace

// ---- Control ----

Control::Control(LoadedWindow& owner, const ui::ControlLayout& layout)
    : owner_(owner),
      layout_(layout),
      left_(layout.left),
      top_(layout.top),
      width_(layout.width),
      height_(layout.height) {
  kept_[ui::prop::kTag] = Text{};
  kept_[ui::prop::kMousePointer] = 0;
}

void Control::Adopt(GtkWidget* widget) {
  widget_ = widget;
  gtk_widget_set_size_request(widget_, std::max(width_, 0), std::max(height_, 0));
  gtk_widget_set_sensitive(widget_, !layout_.disabled);
}

void Control::PlaceIn(GtkWidget* area) {
  area_ = area;
  gtk_fixed_put(GTK_FIXED(area_), widget_, left_, top_);
  gtk_widget_set_visible(widget_, layout_.visible);
}

ui::Value Control::ReadCommon(int index) const {
  switch (index) {
    case ui::prop::kLeft:
      return left_;
    case ui::prop::kTop:
      return top_;
    case ui::prop::kWidth:
      return width_;
    case ui::prop::kHeight:
      return height_;
    case ui::prop::kVisible:
      return static_cast<bool>(gtk_widget_get_visible(widget_));
    case ui::prop::kDisable:
      return !gtk_widget_get_sensitive(widget_);
    default: {
      auto it = kept_.find(index);
      return it == kept_.end() ? ui::Value{} : it->second;
    }
  }
}

void Control::WriteCommon(int index, const ui::Value& value) {
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop:
      (index == ui::prop::kLeft ? left_ : top_) = IntOf(value);
      if (area_) gtk_fixed_move(GTK_FIXED(area_), widget_, left_, top_);
      break;
    case ui::prop::kWidth:
    case ui::prop::kHeight:
      (index == ui::prop::kWidth ? width_ : height_) = IntOf(value);
      gtk_widget_set_size_request(widget_, std::max(width_, 0), std::max(height_, 0));
      break;
    case ui::prop::kVisible:
      gtk_widget_set_visible(widget_, BoolOf(value));
      break;
    case ui::prop::kDisable:
      gtk_widget_set_sensitive(widget_, !BoolOf(value));
      break;
    default:
      kept_[index] = value;
      break;
  }
}

ui::EventResult Control::Fire(ui::Event event, const ui::EventArgs& args) {
  return owner_.Fire(layout_.name, event, args);
}

std::shared_ptr<LoadedWindow> Control::Hold() const {
  return owner_.shared_from_this();
}

// ---- LoadedWindow ----

void LoadedWindow::AddControl(std::unique_ptr<Control> control) {
  controls_.push_back(std::move(control));
}

Control* LoadedWindow::FindControl(const Text& name) const {
  for (const auto& control : controls_) {
    if (control->layout().name == name) return control.get();
  }
  return nullptr;
}

ui::EventResult LoadedWindow::Fire(const Text& control, ui::Event event,
                                   const ui::EventArgs& args) {
  auto keep = shared_from_this();
  for (const ui::EventBinding& binding : layout_.bindings) {
    if (binding.control != control || binding.event != event) continue;
    ui::Handler handler = ui::FindHandler(binding.handler);
    return handler ? handler(args) : ui::EventResult{};
  }
  return {};
}

bool LoadedWindow::DraggedByBackground() const {
  return layout_.border == ui::Border::kNone && layout_.movable;
}

void LoadedWindow::BeginDrag(GdkEventButton* press) {
  if (!DraggedByBackground() || press->button != GDK_BUTTON_PRIMARY ||
      press->type != GDK_BUTTON_PRESS) {
    return;
  }
  gtk_window_begin_move_drag(GTK_WINDOW(window_), static_cast<gint>(press->button),
                             static_cast<gint>(press->x_root), static_cast<gint>(press->y_root),
                             press->time);
}

// ---- the registry ----

std::shared_ptr<LoadedWindow> FindLoadedWindow(const Text& name) {
  auto it = Registry().find(name);
  return it == Registry().end() ? nullptr : it->second;
}

std::shared_ptr<LoadedWindow> FindLoadedWindow(native::Handle handle) {
  for (const auto& [name, window] : Registry()) {
    if (handle != 0 && XidOf(window->window()) == handle) return window;
  }
  return nullptr;
}

int LoadedWindowCount() {
  return static_cast<int>(Registry().size());
}

void RegisterLoadedWindow(const std::shared_ptr<LoadedWindow>& window) {
  Registry()[window->layout().name] = window;
}

void DestroyLoadedWindow(const std::shared_ptr<LoadedWindow>& window) {
  if (!window || window->destroying || !window->window()) return;
  window->destroying = true;
  window->Fire("", ui::Event::kDestroying);
  RemoveTrayEntry(*window);
  const Text& name = window->layout().name;
  if (FindLoadedWindow(name) == window) Registry().erase(name);
  gtk_widget_destroy(window->window());
  window->SetWidgets(nullptr, nullptr);
  if (Registry().empty() && gtk_main_level() > 0) gtk_main_quit();
}

LoadedWindow& LoadedWindowOrFail(const Text& window) {
  std::shared_ptr<LoadedWindow> loaded = FindLoadedWindow(window);
  if (!loaded) FatalError(0, kWindowNotLoaded);
  return *loaded;
}

Control& ControlOrFail(const ui::Ref& ref) {
  Control* control = LoadedWindowOrFail(ref.window).FindControl(ref.control);
  if (!control) FatalError(0, kControlNotCreated);
  return *control;
}

}  // namespace kesto::gtk
