// Which program a recorded window belongs to, decided from real processes' images and command
// lines.
#include "shell/program_windows.h"

#include <gtest/gtest.h>

#include "runtime/headless/native_windows.h"
#include "tests/program/running_program.h"
#include "tests/program/temp_program_folder.h"

namespace kesto::shell {
namespace {

using testing::RunningProgram;

class ProgramWindows : public ::testing::Test {
 protected:
  void SetUp() override { headless::ResetFakeWindows(); }
  native::Handle WindowOf(const RunningProgram& program) {
    return headless::CreateFakeWindow({.processId = program.pid()});
  }
  testing::TempProgramFolder folder_;
};

TEST_F(ProgramWindows, AnApplicationWindowBelongsToAProcessRunningItsApplicationFile) {
  RunningProgram plain = RunningProgram::CopyRunAs(folder_ / "app/memo.qmz");
  RunningProgram dotted = RunningProgram::CopyRunAs(folder_ / "app/tools/clock.setup.qmz");
  RunningProgram script = RunningProgram::ScriptRunAs(folder_ / "app/notes.qmz");
  RunningProgram upper = RunningProgram::CopyRunAs(folder_ / "app/calc.QMZ");

  EXPECT_TRUE(IsProgramWindow(WindowOf(plain), "memo"));
  EXPECT_TRUE(IsProgramWindow(WindowOf(dotted), "clock"));
  EXPECT_TRUE(IsProgramWindow(WindowOf(script), "notes")) << "a script run by the shell";
  EXPECT_FALSE(IsProgramWindow(WindowOf(upper), "calc"));
  EXPECT_FALSE(IsProgramWindow(WindowOf(plain), "clock"));
  EXPECT_FALSE(IsProgramWindow(WindowOf(plain), "pt"));
  EXPECT_FALSE(IsProgramWindow(WindowOf(plain), "mem"));
}

TEST_F(ProgramWindows, APlatformWindowBelongsToAProcessRunningThisProgram) {
  RunningProgram twin = RunningProgram::ThisProgram();
  native::Handle own = headless::CreateFakeWindow({.processId = CurrentProcessId()});
  EXPECT_TRUE(IsProgramWindow(WindowOf(twin), "pt"));
  EXPECT_FALSE(IsOwnWindow(WindowOf(twin)));
  EXPECT_TRUE(IsProgramWindow(own, "pt")) << "a platform's own recorded window is its own";
  EXPECT_TRUE(IsOwnWindow(own));
}

TEST_F(ProgramWindows, AGoneWindowOrAnUnknownOrEndedOwnerIsNoProgramWindow) {
  RunningProgram memo = RunningProgram::CopyRunAs(folder_ / "app/memo.qmz");
  native::Handle gone = WindowOf(memo);
  headless::DestroyFakeWindow(gone);
  EXPECT_FALSE(IsProgramWindow(gone, "memo"));
  EXPECT_FALSE(IsProgramWindow(0, "memo"));
  EXPECT_FALSE(IsProgramWindow(headless::CreateFakeWindow(), "memo"));
  EXPECT_FALSE(IsOwnWindow(headless::CreateFakeWindow()));

  std::uint32_t ended = 0;
  {
    RunningProgram brief = RunningProgram::CopyRunAs(folder_ / "app/brief.qmz");
    ended = brief.pid();
  }
  EXPECT_EQ(ProcessProgramFiles(ended).Count(), 0);
  EXPECT_FALSE(IsProgramWindow(headless::CreateFakeWindow({.processId = ended}), "brief"));
}

}  // namespace
}  // namespace kesto::shell
