// Closing the recorded windows of running tools: the owners are real processes, started and
// watched with POSIX calls.
#include <gtest/gtest.h>

#include "apps/app_config.h"
#include "runtime/headless/native_windows.h"
#include "tests/program/running_program.h"
#include "tests/program/temp_program_folder.h"

namespace kesto {
namespace {

class AppConfigWindowOwners : public ::testing::Test {
 protected:
  void SetUp() override { headless::ResetFakeWindows(); }

  testing::TempProgramFolder folder_;
  AppConfig config;
};

TEST_F(AppConfigWindowOwners, ClosesOnlyLiveWindowsOfTheRecordedPrograms) {
  using testing::RunningProgram;
  RunningProgram tool = RunningProgram::CopyRunAs(folder_ / "app/tool.qmz");
  RunningProgram stubbornTool = RunningProgram::ScriptRunAs(folder_ / "app/sub/stubborn.v2.qmz");
  RunningProgram other = RunningProgram::CopyRunAs(folder_ / "app/other.qmz");
  auto live = headless::CreateFakeWindow({.title = "tool", .processId = tool.pid()});
  auto stubborn =
      headless::CreateFakeWindow({.processId = stubbornTool.pid(), .ignoresClose = true});
  auto gone = headless::CreateFakeWindow({.processId = tool.pid()});
  headless::DestroyFakeWindow(gone);
  // Reused handles: another tool's window, this process's own, and one that says no owner.
  auto reused = headless::CreateFakeWindow({.processId = other.pid()});
  auto own = headless::CreateFakeWindow({.processId = CurrentProcessId()});
  auto unowned = headless::CreateFakeWindow();
  config.SetWindowHandle("tool", static_cast<int>(live));
  config.SetWindowHandle("stubborn", static_cast<int>(stubborn));
  config.SetWindowHandle("gone", static_cast<int>(gone));
  config.SetWindowHandle("reused", static_cast<int>(reused));
  config.SetWindowHandle("pt", static_cast<int>(own));
  config.SetWindowHandle("unowned", static_cast<int>(unowned));

  Array<Text> keys;
  ASSERT_TRUE(config.ListHandleKeys(keys));
  for (const Text& key : keys) config.CloseRegisteredWindow(key);

  EXPECT_FALSE(native::IsWindow(live));
  ASSERT_EQ(headless::FakeWindow(live).posted.size(), 1u);
  EXPECT_EQ(headless::FakeWindow(live).posted[0].message, native::kWmClose);
  EXPECT_TRUE(native::IsWindow(stubborn));
  EXPECT_EQ(headless::FakeWindow(stubborn).posted.size(), 1u);
  EXPECT_TRUE(headless::FakeWindow(gone).posted.empty());
  for (auto untouched : {reused, own, unowned}) {
    EXPECT_TRUE(headless::FakeWindow(untouched).posted.empty()) << untouched;
  }
  // The stale entry stays in the file.
  EXPECT_EQ(config.GetWindowHandle("gone"), static_cast<int>(gone));
}

}  // namespace
}  // namespace kesto
