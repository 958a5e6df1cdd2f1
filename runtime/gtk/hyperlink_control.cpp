// The link box: its caption in the link colours (normal, under the pointer, visited). A press
// of the left button runs its handler and then, unless the handler said false, opens its web
// address in the default web browser.
#include "runtime/gtk/controls.h"
#include "runtime/gtk/drawing.h"
#include "runtime/gtk/keys.h"
#include "runtime/gtk/open_address.h"
#include "runtime/toolkit_front/link_box.h"

namespace kesto::gtk {

namespace {

class HyperLink : public front::LinkBox<Control> {
 public:
  HyperLink(LoadedWindow& window, const ui::ControlLayout& layout) : LinkBox(window, layout) {
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(area, "realize", G_CALLBACK(ShowHandCursor), nullptr);
    TrackHover(area, &hovered_);
    g_signal_connect(area, "button-press-event", G_CALLBACK(OnPress), this);
    Adopt(area);
  }

 private:
  bool StandsAfterHandler() const override { return true; }

  bool OpenInBrowser(const Text& address) override { return OpenInDefaultBrowser(address); }

  void Redraw() override { gtk_widget_queue_draw(widget()); }

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
    look.colour = self->Colour();
    look.xalign = 0.5;
    PaintText(cr, widget, self->layout().text, look, width, height);
    return TRUE;
  }

  static gboolean OnPress(GtkWidget*, GdkEventButton* press, HyperLink* self) {
    if (press->button != GDK_BUTTON_PRIMARY || press->type != GDK_BUTTON_PRESS) return TRUE;
    ui::EventArgs args;
    args.a = static_cast<int>(press->x);
    args.b = static_cast<int>(press->y);
    args.c = KeyStateOf(press->state);
    self->Press(args);
    return TRUE;
  }
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakeHyperLink(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::HyperLink>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
