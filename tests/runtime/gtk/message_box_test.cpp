// What only GTK's message boxes do: boxes closed without a choice. The boxes both toolkits show
// alike are in the conformance scenarios.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdio>

#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/toolkit_conformance/desktop.h"

namespace kesto::testing {
namespace {

// Should a key press go astray, the box is closed after a while, so that the test fails
// instead of waiting for ever.
gboolean CloseStrayBoxes(gpointer strayFound) {
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w; w = w->next) {
    if (!GTK_IS_DIALOG(w->data)) continue;
    std::fprintf(stderr, "unanswered box: %s\n", gtk_window_get_title(GTK_WINDOW(w->data)));
    *static_cast<bool*>(strayFound) = true;
    gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_NONE);
  }
  g_list_free(windows);
  return G_SOURCE_CONTINUE;
}

class MessageBoxClosing : public ::testing::Test {
 protected:
  void SetUp() override {
    KESTO_REQUIRE_DISPLAY();
    watchdog_ = g_timeout_add_seconds(45, CloseStrayBoxes, &strayFound_);
  }
  void TearDown() override {
    if (watchdog_) g_source_remove(watchdog_);
    EXPECT_FALSE(strayFound_) << "a box was left unanswered";
  }
  guint watchdog_ = 0;
  bool strayFound_ = false;
};

// A box closed without a choice answers as Windows documents it: an OK-only box OK, and a
// yes/no box, which Windows does not let Escape close, no. (The Win32 toolkit under Wine
// answers cancel for the OK-only box, a disagreement still open.)
TEST_F(MessageBoxClosing, WithoutAChoiceAnOkBoxAnswersOkAndAYesNoBoxNo) {
  desktop::AnswerBox("文件丢失", "Escape");
  EXPECT_EQ(ShowMessage("你的平台信息不完整", kMbIconStop, "文件丢失"), kIdOk);
  desktop::AnswerBox("是否", "Escape");
  EXPECT_EQ(ShowMessage("是否保存", 4, "是否"), kIdNo);
}
}  // namespace
}  // namespace kesto::testing
