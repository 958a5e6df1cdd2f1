// The yardstick: a borderless GTK window of the main window's size holding one WebKit view.
#include <webkit2/webkit2.h>

#include "bench/startup/report_mapped.h"

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  gtk_init(&argc, &argv);
  kesto::bench::KeepWebTrafficLocal(webkit_web_context_get_default());
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_window_set_default_size(GTK_WINDOW(window), 1024, 643);
  GtkWidget* view = webkit_web_view_new();
  gtk_container_add(GTK_CONTAINER(window), view);
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), "http://www.kesto-app.com/csapp");
  kesto::bench::ReportWhenMapped(window);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
