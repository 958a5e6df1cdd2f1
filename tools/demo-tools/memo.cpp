// 店铺备忘录: a note pad whose text stays in the tool's own folder between runs.
#include "tools/demo-tools/tool_window.h"

namespace {

// Relative to the current directory, which the runtime makes the tool's own folder.
constexpr char kMemoFile[] = "memo.txt";

GtkTextBuffer* memoText = nullptr;

GtkWidget* BuildEditor(GtkWindow*) {
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 10);
  gtk_text_view_set_top_margin(GTK_TEXT_VIEW(view), 10);
  memoText = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  gchar* saved = nullptr;
  gsize length = 0;
  if (g_file_get_contents(kMemoFile, &saved, &length, nullptr) &&
      g_utf8_validate(saved, static_cast<gssize>(length), nullptr)) {
    gtk_text_buffer_set_text(memoText, saved, static_cast<gint>(length));
  } else {
    gtk_text_buffer_set_text(memoText, "今日待办：\n1. 上新三款夏装\n2. 回复买家留言\n", -1);
  }
  g_free(saved);
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(scroller), view);
  return scroller;
}

// g_file_set_contents writes beside the file and renames, so a close never leaves half a memo.
void SaveMemo() {
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(memoText, &start, &end);
  gchar* text = gtk_text_buffer_get_text(memoText, &start, &end, FALSE);
  GError* error = nullptr;
  if (!g_file_set_contents(kMemoFile, text, -1, &error)) {
    g_printerr("memo: cannot save %s: %s\n", kMemoFile, error->message);
    g_error_free(error);
  }
  g_free(text);
}

}  // namespace

int main(int argc, char** argv) {
  kesto::demo::ToolWindow tool{"店铺备忘录", 420, 320, BuildEditor, SaveMemo};
  kesto::demo::RunToolWindow(argc, argv, tool);
}
