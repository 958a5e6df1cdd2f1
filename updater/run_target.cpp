#include "updater/run_target.h"

#include "apps/app_config.h"
#include "net/updater_contract.h"
#include "shell/builtin_settings.h"
#include "shell/program_windows.h"
#include "shell/window_activation.h"
#include "update/app_key.h"
#include "update/installed_app.h"
#include "update/package_install.h"
#include "update/release_swap.h"
#include "update/stage_paths.h"
#include "update/update_log.h"
#include "updater/install_window.h"

namespace kesto::updater {

namespace {

// How long a start waits for a tool's window, and for the platform's before the check for
// updates begins behind it.
constexpr int kApplicationWindowSeconds = 8;
constexpr int kPlatformWindowSeconds = 30;
constexpr int kRecordPollsPerSecond = 10;
// What a rollback after a failed trial waits for the folder's update lock at most.
constexpr int kRollBackLockMilliseconds = 30000;

Text Quoted(const Text& path) {
  return "\"" + path + "\"";
}

bool IsLiveWindow(native::Handle window) {
  return native::WindowProcessId(window) != 0;
}

// Whether the target's window counts: any live window for the platform, which records only its
// own; a window of the application's own program for a tool.
bool CountsAsShown(const Text& key, native::Handle window) {
  return key == net::kPlatformRunTarget ? IsLiveWindow(window)
                                        : shell::IsProgramWindow(window, key);
}

// True once the target has recorded a window other than the one it had before (a window number,
// with the process that had it then) that counts; false after `seconds`, or once `ended` says
// the program is gone.
template <class Ended>
bool WaitForWindowRecord(const StartedTarget& started, int seconds, Ended ended) {
  AppConfig config;
  for (int poll = 0; poll < seconds * kRecordPollsPerSecond; ++poll) {
    const native::Handle now = config.GetWindowHandle(started.key);
    const bool renewed =
        now != started.before || native::WindowProcessId(now) != started.beforeOwner;
    if (renewed && CountsAsShown(started.key, now)) return true;
    if (ended()) return false;
    PauseMilliseconds(1000 / kRecordPollsPerSecond);
  }
  return false;
}

// Starts the command line, watched when the release it starts is on trial and this updater may
// try it: it holds the folder's update lock, and no other updater is trying it already. A release
// whose trials were all stopped before they ended is rolled back instead.
bool Start(StartedTarget& started, StagedReleases staged) {
  const Text trialFile = update::StageFolder(started.key) + ".trial";
  if (staged == StagedReleases::kApply && update::ReleaseOnTrial(started.key) &&
      MakeFileIfMissing(trialFile)) {
    auto hold = std::make_unique<FileHold>(trialFile, 0);
    if (hold->Held() && update::BeginTrial(started.key)) {
      auto program = std::make_unique<WatchedProgram>(started.commandLine);
      if (program->Started()) {
        started.trial = std::move(program);
        started.trialHold = std::move(hold);
        return true;
      }
    }
    // A release that cannot even be started is rolled back at once, as is one whose every trial
    // was stopped.
    if (hold->Held()) update::RollBackRelease(started.key);
  }
  return RunCommand(started.commandLine, false);
}

// A release on trial that did not come up: it is ended (this process only, which frees its
// files), the release it replaced is put back, and that one is started.
void GiveWayToKeptRelease(StartedTarget& started) {
  started.trial->End();
  FileHold lock(update::UpdateLockFile(), kRollBackLockMilliseconds);
  // Without the lock the release stays on trial, and the next start tries it once more.
  if (!lock.Held() || !update::RollBackRelease(started.key)) return;
  if (!RunCommand(started.commandLine, false)) {
    update::LogLine("无法启动退回后的 " + started.commandLine);
  }
}

}  // namespace

bool StartPlatform(Text& problem, StagedReleases staged, std::optional<StartedTarget>& started) {
  AppConfig config;
  const Text name = config.GetName();
  if (name.empty() || FindText(name, "\\") != -1 || FindText(name, "/") != -1) {
    problem = "qmztx.ini 中的平台程序名（[wm] name）无效：" + name;
    return false;
  }
  const Text path = CurrentDirectory() + "\\" + name;
  if (staged == StagedReleases::kApply) update::ApplyStagedRelease(net::kPlatformRunTarget);
  native::Handle before = config.GetWindowHandle(net::kPlatformRunTarget);
  // The record of a platform that has ended names no window: the new one may well be given
  // the same number, and must still count as shown.
  if (!IsLiveWindow(before)) before = 0;
  if (!FileExists(path)) {
    problem = "找不到平台程序 " + path;
    return false;
  }
  started = StartedTarget{net::kPlatformRunTarget,
                          Quoted(path) + " " + net::kUpdaterSwitch,
                          before,
                          0,
                          nullptr,
                          nullptr};
  if (!Start(*started, staged)) {
    problem = "无法启动平台程序 " + path;
    started.reset();
    return false;
  }
  return true;
}

bool BringUpApplication(const Text& key, Text& problem, StagedReleases staged,
                        std::optional<StartedTarget>& started) {
  // Before anything is looked up, applied or fetched for it.
  if (!update::IsApplicationKey(key)) {
    problem = "无效的应用名：" + key;
    return false;
  }
  AppConfig config;
  const native::Handle recorded = config.GetWindowHandle(key);
  if (shell::IsProgramWindow(recorded, key)) {
    shell::ActivateWindow(recorded, true);
    return true;
  }
  if (staged == StagedReleases::kApply) update::ApplyStagedRelease(key);
  Text path = update::FindInstalledApp(key);
  if (path.empty()) {
    const InstallOutcome outcome =
        InstallWithProgress(key, [&] { return update::InstallPackage(key, problem); });
    if (outcome != InstallOutcome::kInstalled) {
      // The seller gave the install up: nothing to tell.
      if (outcome == InstallOutcome::kCancelled) problem.clear();
      return false;
    }
    path = update::FindInstalledApp(key);
    if (path.empty()) {
      problem = "应用 " + key + " 已下载，但在 app 文件夹中找不到";
      return false;
    }
  }
  started = StartedTarget{key,     Quoted(path), recorded, native::WindowProcessId(recorded),
                          nullptr, nullptr};
  if (!Start(*started, staged)) {
    problem = "无法启动应用 " + path;
    started.reset();
    return false;
  }
  return true;
}

void SeeStartThrough(StartedTarget& started) {
  const bool platform = started.key == net::kPlatformRunTarget;
  if (!started.trial) {
    WaitForWindowRecord(started, platform ? kPlatformWindowSeconds : kApplicationWindowSeconds,
                        [] { return false; });
    return;
  }
  WatchedProgram& program = *started.trial;
  // A release that ends before it shows its window is known at once, not at the end of the wait.
  const bool shown =
      WaitForWindowRecord(started, settings::kFirstWindowSeconds, [&] { return program.Ended(); });
  // Ended by the seller in the ordinary way while it settles, it has come up all the same.
  const bool settled =
      shown && (!program.Ended(settings::kSettleSeconds * 1000) || program.EndedOrdinarily());
  if (!settled) {
    GiveWayToKeptRelease(started);
    return;
  }
  FileHold lock(update::UpdateLockFile(), kRollBackLockMilliseconds);
  if (lock.Held()) update::KeepAppliedRelease(started.key);
}

Text ApplicationStartLock(const Text& key) {
  const Text stage = update::StageRoot();
  const Text lock = stage + "\\" + key + ".start";
  if (!update::IsApplicationKey(key) || !MakeFolder(stage) || !MakeFileIfMissing(lock)) {
    return {};
  }
  return lock;
}

}  // namespace kesto::updater
