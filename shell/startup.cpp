#include "shell/startup.h"

#include "apps/app_list.h"
#include "net/updater_contract.h"
#include "runtime/program_folder.h"
#include "shell/globals.h"
#include "shell/platform_info.h"
#include "shell/settings_folder.h"
#include "shell/single_instance.h"
#include "shell/tray.h"
#include "shell/window_activation.h"
#include "shell/window_outline.h"
#include "shell/window_refs.h"
#include "update/updater_trial.h"

namespace kesto::shell {

namespace {

constexpr char kIncompleteInfo[] =
    "你的平台信息不完整会影响你的正常使用，建议去官方重新下载完整版本";
constexpr int kHeightReduction = 15;
constexpr int kCornerRadius = 5;

// The contact line in the title bar, and the purchase and advertising addresses.
void ShowPlatformInfo() {
  if (!LoadPlatformInfo()) {
    ui::SetText(refs::kTitleLabel, ui::prop::translabel::kText,
                Text(kIncompleteInfo) + "「 文件丢失」");
    ShowMessage(kIncompleteInfo, kMbIconStop, "文件丢失");
    return;
  }
  const Array<Text>& info = PlatformInfo;
  ui::SetText(refs::kPurchaseLink, ui::prop::hyperlinker::kWebAddress, info[kPurchasePage]);
  ui::SetText(refs::kAdBrowser, ui::prop::browser::kUrl, info[kAdPage]);
  Text layoutTitle = ui::GetText(refs::kTitleLabel, ui::prop::translabel::kText);
  ui::SetText(refs::kTitleLabel, ui::prop::translabel::kText,
              "「" + info[kCompanyName] + layoutTitle + "」 「官方客服QQ:」" +
                  info[kServiceNumber] + " 「官方网址:」" + info[kWebSite]);
}

// Another platform of this folder runs (it held the instance lock, or its window is recorded
// and alive): bring its window up where there is one and end this process.
void RefuseDuplicateStart() {
  native::Handle running = RunningPlatformWindow();
  if (HoldsInstanceLock() && running == 0) return;
  if (running != 0) ActivateWindow(running);
  RemoveTrayIcon();
  ShowMessage("程序已打开，无须重复运行，点击右下角的图标即可", kMbIconInformation, "重复运行啦");
  EndProgram(0);
}

bool StartedByUpdater() {
  return TrimBoth(JoinCommandLine()) == net::kUpdaterSwitch;
}

// Sets the updater to start the platform and starts it; false when it cannot be started.
bool StartThroughUpdater() {
  AppConfig->SetRun(net::kPlatformRunTarget);
  AppConfig->SetName(ProgramFileName());
  AppConfig->CloseRegisteredWindow(net::kPlatformRunTarget);
  // The updater may be a new release whose trial a logoff or a kill stopped: it is tried (and
  // given up for the one before it when it fails) before any start is handed to it.
  update::FinishStoppedUpdaterTrial();
  return net::UpdaterExists() && net::StartUpdater();
}

void ShowFirstPage() {
  if (ui::ListItemCount(refs::kAppList) == 0) {
    ui::SetInt(refs::kPages, ui::prop::tab::kCurrentPage, refs::kCataloguePage);
    ShowMessage("首次使用应用平台，请先选择你喜欢的应用进行添加", kMbIconInformation, "提示");
  }
  if (ui::GetInt(refs::kPages, ui::prop::tab::kCurrentPage) != refs::kCataloguePage) {
    ui::SetInt(refs::kPages, ui::prop::tab::kCurrentPage, refs::kInstalledAppsPage);
  }
}

}  // namespace

Text JoinCommandLine() {
  Array<Text> args;
  CommandLineArgs(args);
  Text joined;
  for (const Text& arg : args) joined += " " + arg;
  return joined;
}

void HandleCommandLine() {
  if (StartedByUpdater()) {
    AppConfig->SetWindowHandle(net::kPlatformRunTarget,
                               static_cast<int>(ui::NativeHandle(refs::kMainWindow)));
    return;
  }
  WarnWhenFolderUnwritable();
  RemoveTrayIcon();
  // An updater that cannot be started (damaged, not a program) is fetched again as a missing
  // one is; ending here would leave the seller with a platform that never comes up.
  if (StartThroughUpdater()) EndProgram(0);
  ui::LoadWindow(names::kUpdateWindow);
}

void HandOverBeforeAnyWindow() {
  // Every window the start-up sequence would show first (the running platform, the folder that
  // takes no writes, the missing information, the update window) keeps it: the sequence then
  // runs whole, as it always does.
  if (StartedByUpdater() || !HoldsInstanceLock() || RunningPlatformWindow() != 0 ||
      !FolderWritable(CurrentDirectory()) || !LoadPlatformInfo() || !net::UpdaterExists()) {
    return;
  }
  if (StartThroughUpdater()) EndProgram(0);
}

void OnMainWindowCreated() {
  ShowPlatformInfo();
  apps::RefreshAppList();
  ui::SetInt(refs::kMainWindow, ui::prop::kHeight,
             ui::GetInt(refs::kMainWindow, ui::prop::kHeight) - kHeightReduction);
  ShowTrayIcon();
  RefuseDuplicateStart();
  HandleCommandLine();
  RoundWindowCorners(ui::NativeHandle(refs::kMainWindow), kCornerRadius);
  ShowFirstPage();
}

ui::EventResult OnMainWindowCreatedEvent(const ui::EventArgs&) {
  OnMainWindowCreated();
  return {};
}

}  // namespace kesto::shell
