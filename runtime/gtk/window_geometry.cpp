#include "runtime/gtk/window_geometry.h"

#include <algorithm>

namespace kesto::gtk {

namespace {

// The frame a window with a fixed single border gets around its client area, as the layouts
// were drawn for it (the purchase window's browser fills exactly the client area that leaves).
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 32;

bool Framed(const LoadedWindow& window) {
  return window.layout().border != ui::Border::kNone;
}

int FrameWidthOf(const LoadedWindow& window) {
  return Framed(window) ? kFrameWidth : 0;
}
int FrameHeightOf(const LoadedWindow& window) {
  return Framed(window) ? kFrameHeight : 0;
}

}  // namespace

void SetOuterSize(LoadedWindow& window, int width, int height) {
  window.clientWidth = std::max(width - FrameWidthOf(window), 1);
  window.clientHeight = std::max(height - FrameHeightOf(window), 1);
  // The windows are not resizable: GTK sizes them to what their content asks for.
  gtk_widget_set_size_request(window.root(), window.clientWidth, window.clientHeight);
  gtk_window_resize(GTK_WINDOW(window.window()), window.clientWidth, window.clientHeight);
}

int OuterWidth(const LoadedWindow& window) {
  return window.clientWidth + FrameWidthOf(window);
}
int OuterHeight(const LoadedWindow& window) {
  return window.clientHeight + FrameHeightOf(window);
}

void CentreOnScreen(LoadedWindow& window) {
  GdkDisplay* display = gtk_widget_get_display(window.window());
  GdkWindow* gdk_window = gtk_widget_get_window(window.window());
  GdkMonitor* monitor = gdk_window ? gdk_display_get_monitor_at_window(display, gdk_window)
                                   : gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return;
  GdkRectangle screen;
  gdk_monitor_get_geometry(monitor, &screen);
  gtk_window_move(GTK_WINDOW(window.window()), screen.x + (screen.width - OuterWidth(window)) / 2,
                  screen.y + (screen.height - OuterHeight(window)) / 2);
}

}  // namespace kesto::gtk
