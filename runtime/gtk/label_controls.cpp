// Labels: a text on the label's background; the transparent label draws only its text and lets
// the pointer through to what lies below it.
#include "runtime/gtk/controls.h"
#include "runtime/gtk/drawing.h"
#include "runtime/toolkit_front/label_text.h"

namespace kesto::gtk {

namespace {

class TextLabel : public front::LabelText<Control> {
 public:
  TextLabel(LoadedWindow& window, const ui::ControlLayout& layout) : LabelText(window, layout) {
    GtkWidget* area = gtk_drawing_area_new();
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), this);
    if (Transparent()) {
      g_signal_connect(area, "realize", G_CALLBACK(LetPointerThrough), nullptr);
    } else {
      DragWindowFrom(area, window);
    }
    Adopt(area);
  }

 private:
  void Redraw() override { gtk_widget_queue_draw(widget()); }

  static void LetPointerThrough(GtkWidget* widget, gpointer) {
    gdk_window_set_pass_through(gtk_widget_get_window(widget), TRUE);
  }

  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, TextLabel* self) {
    const int width = gtk_widget_get_allocated_width(widget);
    const int height = gtk_widget_get_allocated_height(widget);
    const ui::ControlLayout& layout = self->layout();
    if (!self->Transparent() && layout.backColour != ui::kDefaultColour) {
      PaintColour(cr, layout.backColour, width, height);
    }
    TextLook look;
    look.font = layout.font;
    look.colour = self->TextColour();
    PaintText(cr, widget, self->text(), look, width, height);
    return TRUE;
  }
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakeTextLabel(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::TextLabel>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
