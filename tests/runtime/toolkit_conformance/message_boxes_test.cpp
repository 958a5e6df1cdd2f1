// Message boxes answered from the keyboard, on the user-interface thread and from a worker
// thread, whose box blocks only the worker while the windows go on working.
#include <atomic>
#include <thread>

#include "layouts/names.h"
#include "runtime/toolkit.h"
#include "tests/runtime/toolkit_conformance/on_desktop.h"

namespace kesto::testing {
namespace {

using MessageBoxes = OnDesktop;
using desktop::AnswerBox;

TEST_F(MessageBoxes, EnterPressesTheFirstButtonAndEscapeCancels) {
  AnswerBox("问题", "Return");
  EXPECT_EQ(ShowMessage("继续吗？", kMbOkCancel, "问题"), kIdOk);
  AnswerBox("问题", "Escape");
  EXPECT_EQ(ShowMessage("继续吗？", kMbOkCancel | kMbIconInformation, "问题"), kIdCancel);
}

TEST_F(MessageBoxes, ButtonsOfTheFlagsInTheirOrder) {
  // Flags 3 (yes, no, cancel) and 4 (yes, no): the default is the first button, Tab moves to
  // the next one.
  AnswerBox("三个按钮", "Return");
  EXPECT_EQ(ShowMessage("是否保存", 3, "三个按钮"), kIdYes);
  AnswerBox("是否", "Tab Return");
  EXPECT_EQ(ShowMessage("是否保存", 4, "是否"), kIdNo);
}

TEST_F(MessageBoxes, AWorkersBoxBlocksOnlyTheWorker) {
  ASSERT_NE(desktop::LoadAndShow(names::kMainWindow), 0);
  const ui::Ref pages{names::kMainWindow, "选择夹1"};
  for (const auto& [keys, expected] :
       std::vector<std::pair<std::string, int>>{{"Escape", kIdCancel}, {"Return", kIdOk}}) {
    SCOPED_TRACE(keys);
    std::atomic<int> answer{-1};
    std::thread worker([&] {
      answer = ShowMessage("你确定要退出平台？", kMbOkCancel | kMbIconInformation, "平台退出提示");
    });
    EXPECT_TRUE(desktop::PumpUntil([] { return desktop::BoxShown("平台退出提示"); }));
    desktop::Screenshot("message-box-from-worker");

    // The windows still answer while the box waits.
    ui::SetInt(pages, ui::prop::tab::kCurrentPage, 3);
    EXPECT_EQ(ui::GetInt(pages, ui::prop::tab::kCurrentPage), 3);
    ui::SetInt(pages, ui::prop::tab::kCurrentPage, 0);
    bool posted = false;
    toolkit::PostToUiThread([&] { posted = true; });
    EXPECT_TRUE(desktop::PumpUntil([&] { return posted; }, 2000));
    EXPECT_EQ(answer.load(), -1);

    AnswerBox("平台退出提示", keys);
    EXPECT_TRUE(desktop::PumpUntil([&] { return answer.load() != -1; }, 30000));
    worker.join();
    EXPECT_EQ(answer.load(), expected);
  }
  desktop::CloseAndWait(names::kMainWindow);
}

}  // namespace
}  // namespace kesto::testing
