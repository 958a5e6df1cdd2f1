#include "runtime/gtk/controls.h"

namespace kesto::gtk {

void DragWindowFrom(GtkWidget* widget, LoadedWindow& window) {
  gtk_widget_add_events(widget, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(widget, "button-press-event",
                   G_CALLBACK(+[](GtkWidget*, GdkEventButton* press, gpointer data) -> gboolean {
                     auto* owner = static_cast<LoadedWindow*>(data);
                     if (!owner->DraggedByBackground()) return FALSE;
                     owner->BeginDrag(press);
                     return TRUE;
                   }),
                   &window);
}

}  // namespace kesto::gtk
