// Message boxes answered by a key press, from the user-interface thread and from a worker
// thread, with the buttons of their flags.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "runtime/posix/native_text.h"
#include "tests/runtime/gtk/gui_support.h"

namespace kesto::testing {
namespace {

// Waits for the box by its caption, then presses the keys. The keys go through the keyboard
// (XTEST), not to the found window: GTK does not take keys that another program sends it. A
// search races with windows coming and going (and xdotool gives up on one that goes), so it is
// tried again until it finds the box.
std::vector<std::string> AnswerBox(const Text& caption, const std::string& keys) {
  const std::string find = "xdotool search --onlyvisible --name '" + posix::GbkToUtf8(caption) +
                           "' windowactivate --sync windowfocus --sync";
  return {"sh", "-c",
          "for try in $(seq 200); do " + find + " 2>/dev/null && break; sleep 0.1; done; " +
              "xdotool sleep 0.5 key --delay 100 " + keys};
}

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

class MessageBoxes : public ::testing::Test {
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

TEST_F(MessageBoxes, WorkerThreadBoxBlocksOnlyTheWorker) {
  for (const auto& [keys, expected] :
       std::vector<std::pair<std::string, int>>{{"Escape", kIdCancel}, {"Return", kIdOk}}) {
    // The user-interface thread's timers keep running while the worker waits for its answer.
    int ticks = 0;
    const guint ticker = g_timeout_add(
        50,
        [](gpointer count) -> gboolean {
          ++*static_cast<int*>(count);
          return G_SOURCE_CONTINUE;
        },
        &ticks);
    std::atomic<int> answer{-1};
    StartTool(AnswerBox("平台退出提示", keys));
    std::thread worker([&] {
      answer = ShowMessage("你确定要退出平台？", kMbOkCancel | kMbIconInformation, "平台退出提示");
    });
    EXPECT_TRUE(PumpUntil([&] { return answer != -1; }, 30000));
    worker.join();
    g_source_remove(ticker);
    EXPECT_EQ(answer, expected) << keys;
    EXPECT_GT(ticks, 3);
  }
}

TEST_F(MessageBoxes, UserInterfaceThreadBoxAnsweredByKey) {
  StartTool(AnswerBox("重复运行啦", "Return"));
  EXPECT_EQ(ShowMessage("程序已打开，无须重复运行，点击右下角的图标即可", kMbIconInformation,
                        "重复运行啦"),
            kIdOk);
  // An OK-only box closed without a choice still answers OK.
  StartTool(AnswerBox("文件丢失", "Escape"));
  EXPECT_EQ(ShowMessage("你的平台信息不完整", kMbIconStop, "文件丢失"), kIdOk);
}

TEST_F(MessageBoxes, ButtonsOfTheFlags) {
  // Yes, No, Cancel: the default is the first button, Tab moves to the next one.
  StartTool(AnswerBox("三个按钮", "Return"));
  EXPECT_EQ(ShowMessage("是否保存", 3, "三个按钮"), kIdYes);
  StartTool(AnswerBox("是否", "Escape"));
  EXPECT_EQ(ShowMessage("是否保存", 4, "是否"), kIdNo) << "closing a yes/no box answers no";
}

}  // namespace
}  // namespace kesto::testing
