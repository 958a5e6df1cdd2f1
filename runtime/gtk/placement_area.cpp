#include "runtime/gtk/placement_area.h"

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

}  // namespace

namespace kesto::gtk {

GtkWidget* NewPlacementArea(bool clips) {
  GtkWidget* area = GTK_WIDGET(g_object_new(kesto_placement_area_get_type(), nullptr));
  gtk_widget_set_has_window(area, clips);
  return area;
}

}  // namespace kesto::gtk
