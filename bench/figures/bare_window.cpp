// The measure the platform's memory is held against: one plain WebKitGTK window showing the
// given addresses, one view each, the views sharing one web process as the platform's panels do.
//   bare_window <address>...
#include <webkit2/webkit2.h>

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "bare WebKitGTK window");
  gtk_window_set_default_size(GTK_WINDOW(window), 1000, 700);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_container_add(GTK_CONTAINER(window), box);
  WebKitWebView* first = nullptr;
  for (int i = 1; i < argc; ++i) {
    GtkWidget* view = first ? webkit_web_view_new_with_related_view(first) : webkit_web_view_new();
    if (!first) first = WEBKIT_WEB_VIEW(view);
    gtk_box_pack_start(GTK_BOX(box), view, TRUE, TRUE, 0);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[i]);
  }
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
