#include "updater/run_target.h"

#include "apps/app_config.h"
#include "net/updater_contract.h"
#include "runtime/tool_services.h"
#include "shell/program_windows.h"
#include "shell/window_activation.h"
#include "update/app_key.h"
#include "update/installed_app.h"
#include "update/package_install.h"
#include "update/staged_release.h"
#include "updater/install_window.h"

namespace kesto::updater {

namespace {

constexpr int kRecordTimeoutSeconds = 8;
// A new platform release that has not shown its window by then is taken for a broken one.
constexpr int kNewPlatformSeconds = 30;
constexpr int kRecordPollsPerSecond = 10;

Text Quoted(const Text& path) {
  return "\"" + path + "\"";
}

bool IsLiveWindow(native::Handle window) {
  return native::WindowProcessId(window) != 0;
}

// True once `key` has recorded a live window other than `before` (a window number, with the
// process that had it then) that `counts`.
template <class Counts>
bool WaitForWindowRecord(AppConfig& config, const Text& key, native::Handle before,
                         std::uint32_t beforeOwner, int seconds, Counts counts) {
  for (int poll = 0; poll < seconds * kRecordPollsPerSecond; ++poll) {
    const native::Handle now = config.GetWindowHandle(key);
    const bool renewed = now != before || native::WindowProcessId(now) != beforeOwner;
    if (renewed && counts(now)) return true;
    PauseMilliseconds(1000 / kRecordPollsPerSecond);
  }
  return false;
}

}  // namespace

bool StartPlatform(Text& problem, StagedReleases staged) {
  AppConfig config;
  const Text name = config.GetName();
  if (name.empty() || FindText(name, "\\") != -1 || FindText(name, "/") != -1) {
    problem = "qmztx.ini 中的平台程序名（[wm] name）无效：" + name;
    return false;
  }
  const Text path = CurrentDirectory() + "\\" + name;
  const bool updated =
      staged == StagedReleases::kApply && update::ApplyStagedRelease(net::kPlatformRunTarget);
  native::Handle before = config.GetWindowHandle(net::kPlatformRunTarget);
  // The record of a platform that has ended names no window: the new one may well be given
  // the same number, and must still count as shown.
  if (!IsLiveWindow(before)) before = 0;
  if (!FileExists(path)) {
    problem = "找不到平台程序 " + path;
    return false;
  }
  if (!RunCommand(Quoted(path) + " " + net::kUpdaterSwitch, false)) {
    problem = "无法启动平台程序 " + path;
    return false;
  }
  if (!updated) return true;
  // A new release must show its window; one that does not gives way to the release before it,
  // which is started instead, and is not taken again.
  if (WaitForWindowRecord(config, net::kPlatformRunTarget, before, 0, kNewPlatformSeconds,
                          IsLiveWindow)) {
    update::KeepAppliedRelease(net::kPlatformRunTarget);
    return true;
  }
  update::RollBackRelease(net::kPlatformRunTarget);
  if (!RunCommand(Quoted(path) + " " + net::kUpdaterSwitch, false)) {
    problem = "无法启动平台程序 " + path;
    return false;
  }
  return true;
}

void WaitForPlatformWindow() {
  AppConfig config;
  WaitForWindowRecord(config, net::kPlatformRunTarget, 0, 0, kNewPlatformSeconds, IsLiveWindow);
}

bool BringUpApplication(const Text& key, Text& problem, StagedReleases staged,
                        std::optional<StartedApplication>& started) {
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
  if (!RunCommand(Quoted(path), false)) {
    problem = "无法启动应用 " + path;
    return false;
  }
  started = StartedApplication{key, recorded, native::WindowProcessId(recorded)};
  return true;
}

void WaitForApplicationWindow(const StartedApplication& started) {
  AppConfig config;
  WaitForWindowRecord(
      config, started.key, started.before, started.beforeOwner, kRecordTimeoutSeconds,
      [&](native::Handle window) { return shell::IsProgramWindow(window, started.key); });
}

Text ApplicationStartLock(const Text& key) {
  const Text stage = CurrentDirectory() + "\\.up-stage";
  const Text lock = stage + "\\" + key + ".start";
  if (!update::IsApplicationKey(key) || !MakeFolder(stage) || !MakeFileIfMissing(lock)) {
    return {};
  }
  return lock;
}

}  // namespace kesto::updater
