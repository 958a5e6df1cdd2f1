// Applying a staged release with the updater killed at random moments: the next start always
// finishes it, and the application is then the new release whole, never a mix of the two.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "tests/program/temp_program_folder.h"
#include "update/staged_release.h"

namespace kesto::testing {
namespace {

constexpr int kRuns = 50;
constexpr int kFiles = 40;

std::string FileName(int i) {
  return i == 0 ? "memo.qmz" : "part" + std::to_string(i) + ".dat";
}

// Release 1.0 of memo installed, and 1.1 staged, ready for the next start.
void StageRelease(const TempProgramFolder& folder) {
  WriteIniValue(folder.Inside("up.ini"), "versions", "memo", "1.0");
  for (int i = 0; i < kFiles; ++i) {
    folder.Write("app/memo/" + FileName(i), "old " + FileName(i));
    folder.Write(".up-stage/memo/ready/" + FileName(i), "new " + FileName(i));
  }
  folder.Write(".up-stage/memo/ready/.version", "1.1");
}

void ExpectNewRelease(const TempProgramFolder& folder) {
  for (int i = 0; i < kFiles; ++i) {
    ASSERT_EQ(folder.Read("app/memo/" + FileName(i)), "new " + FileName(i));
  }
  EXPECT_EQ(ReadIniValue(folder.Inside("up.ini"), "versions", "memo"), "1.1");
  EXPECT_FALSE(folder.Exists(".up-stage/memo/applying"));
}

TEST(InterruptedApply, TheNextStartFinishesAnApplyKilledAtAnyMoment) {
  std::mt19937 random(20261210);
  // Microseconds: an apply of this many files takes about as long in the sanitizer build.
  std::uniform_int_distribution<int> delay(0, 25000);
  for (int run = 0; run < kRuns; ++run) {
    SCOPED_TRACE(run);
    TempProgramFolder folder;
    StageRelease(folder);

    // The kill is timed from the moment the child begins, not from the fork.
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    const pid_t child = fork();
    if (child == 0) {
      [[maybe_unused]] ssize_t said = write(started[1], "", 1);
      update::ApplyStagedRelease("memo");
      _exit(0);
    }
    char byte;
    [[maybe_unused]] ssize_t heard = read(started[0], &byte, 1);
    close(started[0]);
    close(started[1]);
    usleep(static_cast<useconds_t>(delay(random)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    update::ApplyStagedRelease("memo");  // the next start
    ExpectNewRelease(folder);
  }
}

// The moment the timed kills seldom meet: the application's own file set aside and the new one
// not yet in its place, when the application cannot be found by its file.
TEST(InterruptedApply, AStopWhileTheApplicationFileIsSetAsideIsFinishedByTheNextStart) {
  TempProgramFolder folder;
  StageRelease(folder);
  // As the updater leaves it: the release marked as being applied, with the folder it goes to.
  folder.Write(".up-stage/memo/ready/.folder", folder.Inside("app\\memo"));
  std::filesystem::rename(folder / ".up-stage/memo/ready", folder / ".up-stage/memo/applying");
  std::filesystem::create_directories(folder / ".up-stage/memo/old");
  std::filesystem::rename(folder / "app/memo/memo.qmz", folder / ".up-stage/memo/old/memo.qmz");
  update::ApplyStagedRelease("memo");
  ExpectNewRelease(folder);
}

}  // namespace
}  // namespace kesto::testing
