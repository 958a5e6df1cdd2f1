// Another program's window for the native window tests: a plain GTK window with the title it is
// given. It prints its X11 id, then lives until it is asked to close (WM_DELETE_WINDOW), and
// ends with exit code 0 then.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdio>

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), argc > 1 ? argv[1] : "peer");
  gtk_window_set_default_size(GTK_WINDOW(window), 300, 200);
  g_signal_connect(window, "delete-event", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  std::printf("%lu\n",
              static_cast<unsigned long>(gdk_x11_window_get_xid(gtk_widget_get_window(window))));
  std::fflush(stdout);
  gtk_main();
  return 0;
}
