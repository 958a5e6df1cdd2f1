// The toolkit-independent rules as the shipped toolkits have them, run on the headless back end:
// where a toolkit could answer otherwise, the front answers as Windows does.
#include <gtest/gtest.h>

#include <thread>

#include "runtime/headless/native_windows.h"
#include "runtime/toolkit_front/window_table.h"
#include "tests/runtime/headless/headless_support.h"

namespace kesto {
namespace {

namespace prop = ui::prop;

const ui::Ref kMain{names::kMainWindow, ""};

class FrontRules : public ::testing::Test {
 protected:
  void SetUp() override { testing::StartRecording(); }
};

// Windows inserts rows only into a list view; anything else takes none and stays as it was.
TEST_F(FrontRules, ListMethodsOnAnythingButAListDoNothing) {
  ui::LoadWindow(names::kMainWindow);
  const ui::Ref label{names::kMainWindow, "_标题"};
  EXPECT_EQ(ui::ListInsertItem(label, {}, "甲"), -1);
  ui::ListDeleteAll(label);
  EXPECT_EQ(ui::ListItemCount(label), 0);
  EXPECT_EQ(ui::GetText(label, prop::translabel::kText), "Kesto卖家必备应用平台 V1.6");
  EXPECT_FALSE(headless::EndedExitCode());
}

// The state a shown window reads is the one the user put it in, not the one last written; a
// hidden window reads the written state, which it takes when shown again.
TEST_F(FrontRules, WindowStateReadsAsTheUserLeftTheWindow) {
  ui::LoadWindow(names::kMainWindow);
  const native::Handle handle = ui::NativeHandle(kMain);
  native::ShowWindow(handle, native::kSwMinimize);
  EXPECT_EQ(ui::GetInt(kMain, prop::window::kWindowState), ui::kStateMinimised);
  native::ShowWindow(handle, native::kSwMaximize);
  EXPECT_EQ(ui::GetInt(kMain, prop::window::kWindowState), ui::kStateMaximised);
  ui::SetBool(kMain, prop::kVisible, false);
  EXPECT_EQ(ui::GetInt(kMain, prop::window::kWindowState), ui::kStateNormal);
  ui::SetBool(kMain, prop::kVisible, true);
  EXPECT_FALSE(headless::ViewWindow(names::kMainWindow).maximised);
  EXPECT_EQ(ui::GetInt(kMain, prop::window::kWindowState), ui::kStateNormal);
}

// A worker's writes wait for the user-interface thread, in order, and keep to the bar's range.
TEST_F(FrontRules, WorkerWritesArePostedToTheUserInterfaceThread) {
  ui::LoadWindow(names::kUpdateWindow);
  const ui::Ref bar{names::kUpdateWindow, "进度条1"};
  std::thread worker([&] {
    for (int position : {2048, 4096, 6144, 8192, 10000}) {
      ui::SetInt(bar, prop::processbar::kPosition, position);
    }
  });
  worker.join();
  EXPECT_EQ(ui::GetInt(bar, prop::processbar::kPosition), 0);
  EXPECT_EQ(headless::PendingTasks(), 5);
  ProcessEvents();
  EXPECT_EQ(ui::GetInt(bar, prop::processbar::kPosition), 10000);
  ui::SetInt(bar, prop::processbar::kPosition, 20000);
  EXPECT_EQ(ui::GetInt(bar, prop::processbar::kPosition), 10000);
  ui::SetInt(bar, prop::processbar::kPosition, -5);
  EXPECT_EQ(ui::GetInt(bar, prop::processbar::kPosition), 0);
}

// A being-destroyed handler that ends the program still takes its window out of the table, so
// that the exit routine finds it gone.
TEST_F(FrontRules, WindowGoesEvenWhenItsDestroyingHandlerEndsTheProgram) {
  ui::RegisterHandler(names::kOnMainWindowDestroying,
                      [](const ui::EventArgs&) -> ui::EventResult { EndProgram(0); });
  ui::LoadWindow(names::kMainWindow);
  const native::Handle handle = ui::NativeHandle(kMain);
  ui::CloseWindow(names::kMainWindow);
  EXPECT_THROW(ProcessEvents(), headless::ProgramEnded);
  EXPECT_EQ(front::LoadedWindowCount(), 0);
  EXPECT_FALSE(native::IsWindow(handle));
}

}  // namespace
}  // namespace kesto
