#include "shell/tray.h"

#include "net/updater_contract.h"
#include "shell/globals.h"
#include "shell/program_windows.h"
#include "shell/window_activation.h"
#include "shell/window_refs.h"

namespace kesto::shell {

namespace {
constexpr char kTrayTip[] = "Kesto应用平台V1.1";

// Tray notification codes.
constexpr int kLeftButtonUp = 1;
constexpr int kLeftDoubleClick = 2;
constexpr int kRightButtonUp = 3;

// Whether this process shows its icon; a hidden window could not come back without it.
bool iconShown = false;
}  // namespace

void ShowTrayIcon() {
  ui::SetTrayIcon(names::kMainWindow, ui::GetBytes(refs::kMainWindow, ui::prop::window::kIcon),
                  Text(kTrayTip));
  iconShown = true;
}

void RemoveTrayIcon() {
  ui::SetTrayIcon(names::kMainWindow);
  iconShown = false;
}

void RestoreMainWindow() {
  ui::SetInt(refs::kMainWindow, ui::prop::window::kWindowState, ui::kStateCentred);
  ui::SetBool(refs::kMainWindow, ui::prop::kVisible, true);
  ui::SetInt(refs::kPages, ui::prop::tab::kCurrentPage, refs::kInstalledAppsPage);
  native::Handle recorded = AppConfig->GetWindowHandle(net::kPlatformRunTarget);
  if (IsProgramWindow(recorded, net::kPlatformRunTarget)) ActivateWindow(recorded);
}

void HideToTray() {
  if (iconShown && ui::TrayAvailable()) ui::SetBool(refs::kMainWindow, ui::prop::kVisible, false);
  ui::SetInt(refs::kMainWindow, ui::prop::window::kWindowState, ui::kStateMinimised);
}

void ConfirmAndExit() {
  int pressed = ShowMessage("你确定要退出平台？退出平台后所有平台软件将会一同退出!",
                            kMbOkCancel | kMbIconInformation, "平台退出提示");
  if (pressed != kIdOk) return;
  Array<Text> keys;
  AppConfig->ListHandleKeys(keys);
  for (const Text& key : keys) AppConfig->CloseRegisteredWindow(key);
  RemoveTrayIcon();
  EndProgram(0);
}

ui::EventResult OnTrayNotify(const ui::EventArgs& args) {
  if (args.a == kLeftButtonUp || args.a == kLeftDoubleClick) RestoreMainWindow();
  if (args.a == kRightButtonUp) ui::PopupMenu(names::kMainWindow, names::kTrayMenu);
  return {};
}

ui::EventResult OnExitChosen(const ui::EventArgs&) {
  ConfirmAndExit();
  return {};
}

ui::EventResult OnMainWindowDestroying(const ui::EventArgs&) {
  RemoveTrayIcon();
  return {};
}

ui::EventResult OnHideToTrayClicked(const ui::EventArgs&) {
  HideToTray();
  return {};
}

}  // namespace kesto::shell
