// up.qmz, the updater: the platform writes a run target to qmztx.ini and starts this program,
// which brings the target up and starts it. "pt" is the platform itself; any other target is an
// application key, installed from the update server when it is not installed yet.
#include "apps/app_config.h"
#include "net/updater_contract.h"
#include "runtime/core.h"
#include "runtime/tool_services.h"
#include "tools/updater/problem_report.h"
#include "tools/updater/run_target.h"
#include "tools/updater/staged_release.h"
#include "update/vendor_key.h"

namespace {
// A download of a few megabytes on a slow line finishes well within this.
constexpr int kLockTimeoutSeconds = 120;
}  // namespace

int main(int argc, char** argv) {
  using namespace kesto;
  RuntimeStart(argc, argv);
  ReadyForInput();  // the platform that started this program goes on at once
  // Read before waiting for another updater: the next start rewrites the target.
  const Text target = AppConfig().GetRun();
  Text problem;
  bool done = false;
  {
    // One updater at a time per program folder, held on the updater's own file: two quick
    // clicks on the same catalogue entry must not install or start the application twice.
    FileHold lock(CurrentDirectory() + "\\" + ProgramFileName(), kLockTimeoutSeconds * 1000);
    if (lock.Held()) updater::ApplyStagedRelease(updater::kUpdaterRelease);  // for the next start
    if (!lock.Held()) {
      problem = "另一个更新程序仍未结束，请稍后再试";
    } else if (target.empty()) {
      problem = "qmztx.ini 中没有要启动的程序（[wm] run）";
    } else if (target == net::kPlatformRunTarget) {
      done = updater::StartPlatform(problem);
    } else {
      done = updater::BringUpApplication(target, problem);
    }
  }
  if (!done) {
    // An install the seller cancelled leaves no problem to report.
    if (!problem.empty()) updater::ReportProblem(problem);
    EndProgram(1);
  }
  // The target runs; its next release is fetched now, for the next start, behind everything
  // the seller is waiting for. A refusal or a failure here is not the seller's to hear of: the
  // installed release keeps working.
  // Without the vendor's key nothing is fetched.
  if (update::VendorKey().empty()) EndProgram(0);
  if (target == net::kPlatformRunTarget) updater::WaitForPlatformWindow();
  RunInBackground();
  Text ignored;
  updater::StageNewerRelease(target, ignored);
  updater::StageNewerRelease(updater::kUpdaterRelease, ignored);
  EndProgram(0);
}
