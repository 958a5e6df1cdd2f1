#include "tools/demo-tools/tool_window.h"

#include <gdk/gdkx.h>

#include "apps/app_config.h"
#include "runtime/core.h"

namespace kesto::demo {

std::string ToolKeyFromFileName(const std::string& fileName) {
  return fileName.substr(0, fileName.find('.'));
}

namespace {

gboolean OnCloseRequest(GtkWidget*, GdkEvent*, gpointer data) {
  const auto* tool = static_cast<const ToolWindow*>(data);
  if (tool->onClose) tool->onClose();
  return FALSE;  // let the window go
}

}  // namespace

void RunToolWindow(int argc, char** argv, const ToolWindow& tool) {
  // Also opens the X display (window handles are X11 window ids) and ends the process when
  // there is none.
  RuntimeStart(argc, argv);

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), tool.title);
  gtk_window_set_default_size(GTK_WINDOW(window), tool.width, tool.height);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  gtk_container_add(GTK_CONTAINER(window), tool.buildContent(GTK_WINDOW(window)));
  g_signal_connect(window, "delete-event", G_CALLBACK(OnCloseRequest),
                   const_cast<ToolWindow*>(&tool));
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);

  // The window exists on the X server once shown: record it for the platform.
  // X11 ids are 29-bit numbers, so the id fits the handle's 32 bits.
  const auto handle = static_cast<int>(gdk_x11_window_get_xid(gtk_widget_get_window(window)));
  AppConfig().SetWindowHandle(ToolKeyFromFileName(ProgramFileName()), handle);

  gtk_main();
  // Ends as the platform does, without tearing GTK down under its own threads.
  EndProgram(0);
}

}  // namespace kesto::demo
