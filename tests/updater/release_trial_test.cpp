// A tool's new release on trial, started as the updater starts it, with real processes: one that
// runs on without ever showing its window is ended by the updater (on Windows its program file
// cannot be replaced while it runs), the release before it goes back and is started, and the
// tried version is refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/tool_services.h"
#include "tests/program/temp_program_folder.h"
#include "update/installed_state.h"
#include "update/release_swap.h"
#include "update/stage_paths.h"
#include "updater/run_target.h"

namespace kesto::testing {
namespace {

std::string ContentOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ReleaseTrial, AReleaseThatShowsNoWindowIsEndedAndTheKeptOneGoesBackAndStarts) {
  TempProgramFolder folder;
  // 1.0 notes each start in updater.log beside itself; 1.1 runs on and shows nothing.
  const std::string kept = ContentOf(KESTO_STAND_IN_PROGRAM);
  folder.Write("app/memo/memo.qmz", kept);
  folder.Write("app/memo/memo.dat", "[ini]\r\nbt=Memo\r\n");
  folder.Write(".up-stage/memo/ready/memo.qmz", ContentOf(KESTO_NEVER_SHOWS_PROGRAM));
  folder.Write(".up-stage/memo/ready/.version", "1.1");
  ASSERT_TRUE(MakeRunnable(folder.Inside("app\\memo\\memo.qmz")));
  ASSERT_TRUE(MakeRunnable(folder.Inside(".up-stage\\memo\\ready\\memo.qmz")));
  WriteIniValue(folder.Inside("up.ini"), "versions", "memo", "1.0");

  std::optional<updater::StartedTarget> started;
  {
    FileHold lock(update::UpdateLockFile(), 0);
    ASSERT_TRUE(lock.Held());
    Text problem;
    ASSERT_TRUE(
        updater::BringUpApplication("memo", problem, updater::StagedReleases::kApply, started))
        << problem;
  }
  ASSERT_TRUE(started && started->trial) << "1.1 is started on trial";
  updater::SeeStartThrough(*started);

  EXPECT_TRUE(started->trial->Ended()) << "the release that showed nothing still runs";
  EXPECT_EQ(folder.Read("app/memo/memo.qmz"), kept);
  EXPECT_EQ(ReadIniValue(folder.Inside("up.ini"), "versions", "memo"), "1.0");
  EXPECT_TRUE(update::IsRefusedRelease("memo", "1.1"));
  EXPECT_FALSE(update::ReleaseOnTrial("memo"));
  for (int waited = 0; waited < 10000 && !folder.Exists("app/memo/updater.log"); waited += 100) {
    PauseMilliseconds(100);
  }
  EXPECT_TRUE(folder.Exists("app/memo/updater.log")) << "the kept release was not started";
}

}  // namespace
}  // namespace kesto::testing
