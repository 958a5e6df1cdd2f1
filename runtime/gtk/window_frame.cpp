#include "runtime/gtk/window_frame.h"

namespace kesto::gtk {

namespace {

void AskWindowManager(GtkWidget* widget, gpointer) {
  GdkWindow* window = gtk_widget_get_window(widget);
  gdk_window_set_functions(window, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  gdk_window_set_decorations(window,
                             GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
}

}  // namespace

void UseCloseBoxOnly(GtkWindow* window) {
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  if (gtk_widget_get_realized(GTK_WIDGET(window))) {
    AskWindowManager(GTK_WIDGET(window), nullptr);
  } else {
    g_signal_connect(window, "realize", G_CALLBACK(AskWindowManager), nullptr);
  }
}

}  // namespace kesto::gtk
