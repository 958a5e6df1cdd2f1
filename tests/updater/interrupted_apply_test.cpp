// Applying and rolling back a release with the updater stopped before each of its steps in turn
// (every rename and every link the update makes, the journal's and up.ini's writes among them):
// at every stop the application's own file is there to start, and the next start finishes or
// undoes the step whole, never leaving a mix of two releases.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "tests/program/temp_program_folder.h"
#include "update/installed_state.h"
#include "update/release_journal.h"
#include "update/release_swap.h"

namespace {
// The step before which the child stops, counted from 1; 0: never.
int stopBefore = 0;
int steps = 0;

void CountStep() {
  if (stopBefore != 0 && ++steps == stopBefore) _exit(9);
}
}  // namespace

// The update's renames and links pass through here in this test program, as in a program
// killed at that instant.
extern "C" int rename(const char* from, const char* to) {
  CountStep();
  return static_cast<int>(syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 0));
}
extern "C" int link(const char* from, const char* to) {
  CountStep();
  return static_cast<int>(syscall(SYS_linkat, AT_FDCWD, from, AT_FDCWD, to, 0));
}

namespace kesto::testing {
namespace {

const std::vector<std::string> kOldFiles = {"memo.qmz", "memo.dat", "part1.dat", "part2.dat"};
const std::vector<std::string> kNewFiles = {"memo.qmz", "memo.dat", "part1.dat", "added.dat"};

// Release 1.0 of memo installed, and 1.1 (which drops part2.dat and adds added.dat) staged.
void StageRelease(const TempProgramFolder& folder) {
  WriteIniValue(folder.Inside("up.ini"), "versions", "memo", "1.0");
  for (const std::string& name : kOldFiles) folder.Write("app/memo/" + name, "old " + name);
  for (const std::string& name : kNewFiles) {
    folder.Write(".up-stage/memo/ready/" + name, "new " + name);
  }
  folder.Write(".up-stage/memo/ready/.version", "1.1");
}

std::string Version(const TempProgramFolder& folder) {
  return ReadIniValue(folder.Inside("up.ini"), "versions", "memo");
}

// Which release the application folder holds whole: "1.0", "1.1", or "mixed".
std::string Release(const TempProgramFolder& folder) {
  auto all = [&](const std::vector<std::string>& names, const std::string& mark) {
    for (const std::string& name : names) {
      if (folder.Read("app/memo/" + name) != mark + name) return false;
    }
    return true;
  };
  if (all(kOldFiles, "old ") && !folder.Exists("app/memo/added.dat")) return "1.0";
  // part2.dat is no file of 1.1, but is left as it was: only files a release brings are its own.
  if (all(kNewFiles, "new ")) return "1.1";
  return "mixed";
}

// Runs `step` in a child stopped before its step number `stop`; false when the child ran to its
// end without reaching it.
bool StoppedBefore(int stop, const std::function<void()>& step) {
  const pid_t child = fork();
  if (child == 0) {
    stopBefore = stop;
    step();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 9;
}

TEST(InterruptedApply, AStopBeforeAnyStepOfAnApplyIsFinishedByTheNextStart) {
  for (int stop = 1;; ++stop) {
    SCOPED_TRACE(stop);
    TempProgramFolder folder;
    StageRelease(folder);
    const bool stopped = StoppedBefore(stop, [] { update::ApplyStagedRelease("memo"); });
    ASSERT_TRUE(folder.Exists("app/memo/memo.qmz")) << "nothing to start";
    update::ApplyStagedRelease("memo");  // the next start
    EXPECT_EQ(Release(folder), "1.1");
    EXPECT_EQ(Version(folder), "1.1");
    EXPECT_TRUE(update::ReleaseOnTrial("memo"));
    EXPECT_EQ(folder.Read(".up-stage/memo/old/memo.qmz"), "old memo.qmz") << "the kept release";
    if (!stopped) break;
  }
}

TEST(InterruptedApply, AStopBeforeAnyStepOfARollBackIsFinishedByTheNextStart) {
  for (int stop = 1;; ++stop) {
    SCOPED_TRACE(stop);
    TempProgramFolder folder;
    StageRelease(folder);
    ASSERT_TRUE(update::ApplyStagedRelease("memo"));
    const bool stopped = StoppedBefore(stop, [] { update::RollBackRelease("memo"); });
    ASSERT_TRUE(folder.Exists("app/memo/memo.qmz")) << "nothing to start";
    // The next start: a rollback under way is finished by it; one not begun yet is still on
    // trial, and fails its trial once more.
    if (!update::ApplyStagedRelease("memo") && update::ReleaseOnTrial("memo")) {
      update::RollBackRelease("memo");
    }
    EXPECT_EQ(Release(folder), "1.0");
    EXPECT_EQ(Version(folder), "1.0");
    EXPECT_TRUE(update::IsRefusedRelease("memo", "1.1"));
    EXPECT_FALSE(folder.Exists(".up-stage/memo/journal"));
    if (!stopped) break;
  }
}

// A file that cannot be replaced (here its folder refuses the rename) is tried for a few
// seconds, then the apply is undone whole: the release before it runs on, as it was.
TEST(InterruptedApply, AnApplyThatCannotFinishIsUndoneWhole) {
  TempProgramFolder folder;
  StageRelease(folder);
  folder.MakeFolder("app/memo/added.dat");  // a folder where the new file must go
  folder.Write("app/memo/added.dat/inside", "x");
  EXPECT_FALSE(update::ApplyStagedRelease("memo"));
  for (const std::string& name : kOldFiles)
    EXPECT_EQ(folder.Read("app/memo/" + name), "old " + name);
  EXPECT_EQ(Version(folder), "1.0");
  EXPECT_FALSE(update::ReleaseOnTrial("memo"));
  EXPECT_FALSE(folder.Exists(".up-stage/memo/journal"));
}

}  // namespace
}  // namespace kesto::testing
