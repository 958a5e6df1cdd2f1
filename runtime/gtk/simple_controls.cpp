// The push button and the progress bar.
#include <algorithm>

#include "runtime/gtk/controls.h"
#include "runtime/gtk/drawing.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit_front/progress_bar_position.h"

namespace kesto::gtk {

namespace {

class PushButton : public Control {
 public:
  PushButton(LoadedWindow& window, const ui::ControlLayout& layout) : Control(window, layout) {
    GtkWidget* button = gtk_button_new_with_label(posix::GbkToUtf8(layout.text).c_str());
    AddCss(button, "button { min-height: 0; padding: 0; " + CssFont(layout.font) + " }");
    g_signal_connect(button, "clicked", G_CALLBACK(OnClicked), this);
    Adopt(button);
  }

 private:
  static void OnClicked(GtkButton*, PushButton* self) {
    auto keep = self->Hold();
    self->Fire(ui::Event::kClicked);
  }
};

// Drawn like the Windows bar: green filling a light grey trough, the whole height of the box.
constexpr char kBarStyle[] =
    "progressbar trough { min-height: 0; border-radius: 0; background: #E6E6E6;"
    " border: 1px solid #BCBCBC; }"
    "progressbar progress { min-height: 0; border-radius: 0; background: #06B025; border: none; }"
    "progressbar trough, progressbar progress { min-width: 0; }";

class ProgressBar : public front::ProgressBarPosition<Control> {
 public:
  ProgressBar(LoadedWindow& window, const ui::ControlLayout& layout)
      : ProgressBarPosition(window, layout) {
    bar_ = gtk_progress_bar_new();
    // The trough and the filling take the full height of the box, less the trough's border.
    AddCss(bar_, std::string(kBarStyle) +
                     "progressbar trough, progressbar progress { min-height: " +
                     std::to_string(std::max(layout.height - 2, 0)) + "px; }");
    GtkWidget* box = gtk_event_box_new();
    gtk_event_box_set_visible_window(GTK_EVENT_BOX(box), FALSE);
    gtk_container_add(GTK_CONTAINER(box), bar_);
    gtk_widget_show(bar_);
    DragWindowFrom(box, window);
    Adopt(box);
    ShowPosition();
  }

 private:
  void ShowPosition() override {
    const int span = layout().rangeMax - layout().rangeMin;
    const double fraction = span > 0 ? double(position() - layout().rangeMin) / span : 0.0;
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(bar_), std::clamp(fraction, 0.0, 1.0));
  }

  GtkWidget* bar_ = nullptr;
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakePushButton(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::PushButton>(static_cast<gtk::LoadedWindow&>(window), layout);
}

std::unique_ptr<Control> MakeProgressBar(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::ProgressBar>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
