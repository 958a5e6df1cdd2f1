// up.qmz, the updater: the platform writes a run target to qmztx.ini and starts this program,
// which brings the target up and starts it. "pt" is the platform itself; any other target is an
// application key, installed from the update server when it is not installed yet.
#include <optional>

#include "apps/app_config.h"
#include "net/updater_contract.h"
#include "runtime/core.h"
#include "runtime/tool_services.h"
#include "update/app_key.h"
#include "update/installed_app.h"
#include "update/stage_paths.h"
#include "update/staged_release.h"
#include "update/update_log.h"
#include "update/updater_trial.h"
#include "updater/problem_report.h"
#include "updater/run_target.h"

namespace {
// A first install of a few megabytes on a slow line finishes well within this.
constexpr int kLockTimeoutSeconds = 120;
// A second start of the same tool waits this long at most for the first to show its window.
constexpr int kSameToolWaitMilliseconds = 12000;
// What the check for updates after a start waits for another updater's work.
constexpr int kStageLockWaitMilliseconds = 10000;
// The check begins this long after the target's window is recorded: its download and checks
// would otherwise compete with the target drawing its window and loading its first page.
constexpr int kCheckDelayMilliseconds = 3000;

bool IsCheck() {
  kesto::Array<kesto::Text> args;
  kesto::CommandLineArgs(args);
  return args.Count() == 1 && args[1] == kesto::update::kUpdaterCheckSwitch;
}
}  // namespace

int main(int argc, char** argv) {
  using namespace kesto;
  RuntimeStart(argc, argv);
  // A release of this program on trial is started this way: it answers and ends.
  if (IsCheck()) {
    update::AnswerUpdaterCheck();
    EndProgram(0);
  }
  // Read before the platform that started this program goes on (where it waits for that, as
  // on Windows) and before waiting for another updater: the next start rewrites the target.
  const Text target = AppConfig().GetRun();
  ReadyForInput();
  Text problem;
  bool done = false;
  std::optional<updater::StartedTarget> started;
  std::optional<FileHold> startHold;
  if (const Text startLock = updater::ApplicationStartLock(target); !startLock.empty()) {
    startHold.emplace(startLock, kSameToolWaitMilliseconds);
  }
  {
    // One updater at a time works on the folder's update state: two quick clicks on the same
    // catalogue entry must not install or start the application twice. So a target that is not
    // installed yet waits for the updater before it, which may be installing it; one that is
    // installed is started at once, as it is, when another updater keeps the lock.
    const bool installed =
        target == net::kPlatformRunTarget ||
        (update::IsApplicationKey(target) && !update::FindInstalledApp(target).empty());
    FileHold lock(update::UpdateLockFile(),
                  installed ? update::kStartLockWaitMilliseconds : kLockTimeoutSeconds * 1000);
    const updater::StagedReleases staged =
        lock.Held() ? updater::StagedReleases::kApply : updater::StagedReleases::kLeave;
    if (target.empty()) {
      problem = "qmztx.ini 中没有要启动的程序（[wm] run）";
    } else if (!lock.Held() && !installed) {
      problem = "另一个更新程序仍未结束，请稍后再试";
    } else if (target == net::kPlatformRunTarget) {
      done = updater::StartPlatform(problem, staged, started);
    } else {
      done = updater::BringUpApplication(target, problem, staged, started);
    }
  }
  // The folder's lock is not held while the target comes up: other tools start meanwhile.
  if (started) updater::SeeStartThrough(*started);
  startHold.reset();
  if (!done) {
    // An install the seller cancelled leaves no problem to report.
    if (!problem.empty()) updater::ReportProblem(problem);
    EndProgram(1);
  }
  // The target runs; its next release is fetched now, for the next start, behind everything
  // the seller is waiting for, and a new release of this program is put in place and tried. A
  // refusal or a failure here is not the seller's to hear of: the installed release keeps working.
  RunInBackground();
  update::LogLine(target + " 已启动");
  PauseMilliseconds(kCheckDelayMilliseconds);
  FileHold lock(update::UpdateLockFile(), kStageLockWaitMilliseconds);
  if (lock.Held()) {
    Text ignored;
    update::StageNewerRelease(target, ignored);
    update::StageNewerRelease(update::kUpdaterRelease, ignored);
    update::SettleUpdaterRelease();
  }
  EndProgram(0);
}
