// Applying a staged release with the updater killed at random moments: the next start always
// finishes it, and the application is then the new release whole, never a mix of the two.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "tests/program/temp_program_folder.h"
#include "tools/updater/staged_release.h"

namespace kesto::testing {
namespace {

constexpr int kRuns = 50;
constexpr int kFiles = 40;

TEST(InterruptedApply, TheNextStartFinishesAnApplyKilledAtAnyMoment) {
  std::mt19937 random(20261210);
  // Microseconds: an apply of this many files takes about as long in the sanitizer build.
  std::uniform_int_distribution<int> delay(0, 25000);
  for (int run = 0; run < kRuns; ++run) {
    SCOPED_TRACE(run);
    TempProgramFolder folder;
    WriteIniValue(folder.Inside("up.ini"), "versions", "memo", "1.0");
    for (int i = 0; i < kFiles; ++i) {
      const std::string name = i == 0 ? "memo.qmz" : "part" + std::to_string(i) + ".dat";
      folder.Write("app/memo/" + name, "old " + name);
      folder.Write(".up-stage/memo/ready/" + name, "new " + name);
    }
    folder.Write(".up-stage/memo/ready/.version", "1.1");

    // The kill is timed from the moment the child begins, not from the fork.
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    const pid_t child = fork();
    if (child == 0) {
      [[maybe_unused]] ssize_t said = write(started[1], "", 1);
      updater::ApplyStagedRelease("memo");
      _exit(0);
    }
    char byte;
    [[maybe_unused]] ssize_t heard = read(started[0], &byte, 1);
    close(started[0]);
    close(started[1]);
    usleep(static_cast<useconds_t>(delay(random)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    updater::ApplyStagedRelease("memo");  // the next start
    for (int i = 0; i < kFiles; ++i) {
      const std::string name = i == 0 ? "memo.qmz" : "part" + std::to_string(i) + ".dat";
      ASSERT_EQ(folder.Read("app/memo/" + name), "new " + name);
    }
    EXPECT_EQ(ReadIniValue(folder.Inside("up.ini"), "versions", "memo"), "1.1");
    EXPECT_FALSE(folder.Exists(".up-stage/memo/applying"));
  }
}

}  // namespace
}  // namespace kesto::testing
