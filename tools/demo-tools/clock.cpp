// 上新时钟: the time, and what is left of the day for today's listings.
#include <ctime>

#include "tools/demo-tools/tool_window.h"

namespace {

gboolean ShowTime(gpointer data) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  int left = 24 * 3600 - (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
  gchar* markup = g_markup_printf_escaped(
      "<span size='x-large'>%04d-%02d-%02d</span>\n<span size='xx-large' weight='bold'>"
      "%02d:%02d:%02d</span>\n今日上新剩余 %02d:%02d:%02d",
      local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
      local.tm_sec, left / 3600, left / 60 % 60, left % 60);
  gtk_label_set_markup(GTK_LABEL(data), markup);
  g_free(markup);
  return G_SOURCE_CONTINUE;
}

GtkWidget* BuildClock(GtkWindow*) {
  GtkWidget* label = gtk_label_new("");
  gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
  ShowTime(label);
  guint ticker = g_timeout_add_seconds(1, ShowTime, label);
  // The ticker must not outlive the label it writes to.
  g_signal_connect_swapped(label, "destroy", G_CALLBACK(g_source_remove), GUINT_TO_POINTER(ticker));
  return label;
}

}  // namespace

int main(int argc, char** argv) {
  kesto::demo::ToolWindow tool{"上新时钟", 300, 180, BuildClock, {}};
  kesto::demo::RunToolWindow(argc, argv, tool);
}
