#include "runtime/gtk/placement_area.h"

#include "runtime/gtk/drawing.h"

namespace {

struct KestoPlacementArea {
  GtkFixed parent;
};

struct KestoPlacementAreaClass {
  GtkFixedClass parent_class;
};

G_DEFINE_TYPE(KestoPlacementArea, kesto_placement_area, GTK_TYPE_FIXED)

void AskNoRoom(GtkWidget*, gint* minimum, gint* natural) {
  *minimum = *natural = 0;
}

void kesto_placement_area_class_init(KestoPlacementAreaClass* area_class) {
  GtkWidgetClass* widget_class = GTK_WIDGET_CLASS(area_class);
  widget_class->get_preferred_width = AskNoRoom;
  widget_class->get_preferred_height = AskNoRoom;
}

void kesto_placement_area_init(KestoPlacementArea*) {}

gboolean PaintBackground(GtkWidget* area, cairo_t* cr, gpointer) {
  gtk_render_background(gtk_widget_get_style_context(area), cr, 0, 0,
                        gtk_widget_get_allocated_width(area),
                        gtk_widget_get_allocated_height(area));
  return FALSE;
}

}  // namespace

namespace kesto::gtk {

GtkWidget* NewPlacementArea() {
  GtkWidget* area = GTK_WIDGET(g_object_new(kesto_placement_area_get_type(), nullptr));
  gtk_widget_set_has_window(area, TRUE);
  return area;
}

GtkWidget* NewBackgroundArea(std::uint32_t backColour) {
  GtkWidget* area = NewPlacementArea();
  if (backColour != ui::kDefaultColour) {
    AddCss(area, "* { background-color: " + CssColour(backColour) + "; }");
  }
  g_signal_connect(area, "draw", G_CALLBACK(PaintBackground), nullptr);
  return area;
}

}  // namespace kesto::gtk
