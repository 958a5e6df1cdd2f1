// GTK takes a top-level it has hidden for hidden, and when the X server reports it mapped
// anyway it unmaps it again: right for the window manager's late answer to an earlier show of
// ours, wrong when another program activates the window. So a map of a hidden window becomes a
// real show, unless it comes within moments of our own hide.
#include "runtime/gtk/outside_map.h"

#include "runtime/toolkit_front/window_properties.h"

namespace kesto::gtk {

namespace {

// How long after our own hide a map is still taken for the window manager's late answer.
constexpr gint64 kLateAnswerMicroseconds = 300'000;
constexpr char kHiddenAtKey[] = "kesto-hidden-at";

void OnHide(GtkWidget* widget, gpointer) {
  auto* at = static_cast<gint64*>(g_object_get_data(G_OBJECT(widget), kHiddenAtKey));
  if (at) *at = g_get_monotonic_time();
}

// Runs before GTK's own handler, which then finds the window shown and leaves it.
gboolean OnMapEvent(GtkWidget* widget, GdkEvent*, gpointer data) {
  if (gtk_widget_get_visible(widget)) return FALSE;
  auto* at = static_cast<gint64*>(g_object_get_data(G_OBJECT(widget), kHiddenAtKey));
  if (at && g_get_monotonic_time() - *at < kLateAnswerMicroseconds) return FALSE;
  auto& window = *static_cast<LoadedWindow*>(data);
  // The other program asked for the window as it was, not minimised as hiding to the tray left
  // its state.
  if (window.windowState == ui::kStateMinimised) window.windowState = ui::kStateNormal;
  front::WriteWindowProperty(window, ui::prop::kVisible, true);
  return FALSE;
}

}  // namespace

void FollowOutsideMaps(LoadedWindow& window) {
  GtkWidget* widget = window.window();
  g_object_set_data_full(G_OBJECT(widget), kHiddenAtKey, g_new0(gint64, 1), g_free);
  g_signal_connect(widget, "hide", G_CALLBACK(OnHide), nullptr);
  g_signal_connect(widget, "map-event", G_CALLBACK(OnMapEvent), &window);
}

}  // namespace kesto::gtk
