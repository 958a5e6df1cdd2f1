// The link box: its caption in the link colours (normal, under the pointer, visited). A press
// of the left button runs its handler and then, unless the handler said false, opens its web
// address in the default web browser.
#include "runtime/gtk/controls.h"
#include "runtime/gtk/drawing.h"
#include "runtime/gtk/keys.h"
#include "runtime/gtk/open_address.h"

namespace kesto::gtk {

namespace {

class HyperLink : public Control {
 public:
  HyperLink(LoadedWindow& window, const ui::ControlLayout& layout) : Control(window, layout) {
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(area, "realize", G_CALLBACK(ShowHandCursor), nullptr);
    TrackHover(area, &hovered_);
    g_signal_connect(area, "button-press-event", G_CALLBACK(OnPress), this);
    Adopt(area);
  }

  std::optional<ui::Value> Read(int index) override {
    if (index != ui::prop::hyperlinker::kWebAddress) return std::nullopt;
    return address_;
  }

  bool Write(int index, const ui::Value& value) override {
    if (index != ui::prop::hyperlinker::kWebAddress) return false;
    address_ = TextOf(value);
    return true;
  }

 private:
  std::uint32_t LinkColour() const {
    const std::vector<std::uint32_t>& colours = layout().linkColours;
    const std::size_t slot = visited_ ? 2 : hovered_ ? 1 : 0;
    if (slot < colours.size() && colours[slot] != ui::kDefaultColour) return colours[slot];
    return visited_ ? 0x800080 : 0x0000FF;
  }

  static void ShowHandCursor(GtkWidget* widget, gpointer) {
    GdkCursor* hand = gdk_cursor_new_from_name(gtk_widget_get_display(widget), "pointer");
    gdk_window_set_cursor(gtk_widget_get_window(widget), hand);
    if (hand) g_object_unref(hand);
  }

  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, HyperLink* self) {
    const int width = gtk_widget_get_allocated_width(widget);
    const int height = gtk_widget_get_allocated_height(widget);
    if (self->layout().backColour != ui::kDefaultColour) {
      PaintColour(cr, self->layout().backColour, width, height);
    }
    TextLook look;
    look.font = self->layout().font;
    look.colour = self->LinkColour();
    look.xalign = 0.5;
    PaintText(cr, widget, self->layout().text, look, width, height);
    return TRUE;
  }

  static gboolean OnPress(GtkWidget* widget, GdkEventButton* press, HyperLink* self) {
    if (press->button != GDK_BUTTON_PRIMARY || press->type != GDK_BUTTON_PRESS) return TRUE;
    auto keep = self->Hold();
    ui::EventArgs args;
    args.a = static_cast<int>(press->x);
    args.b = static_cast<int>(press->y);
    args.c = KeyStateOf(press->state);
    const ui::EventResult result = self->Fire(ui::Event::kLeftButtonDown, args);
    if (result == false) return TRUE;
    if (OpenInDefaultBrowser(self->address_)) {
      self->visited_ = true;
      gtk_widget_queue_draw(widget);
    }
    return TRUE;
  }

  Text address_;
  bool hovered_ = false;
  bool visited_ = false;
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakeHyperLink(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::HyperLink>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
