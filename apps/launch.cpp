#include "apps/launch.h"

#include "net/updater_contract.h"
#include "shell/globals.h"
#include "shell/program_windows.h"
#include "shell/window_activation.h"
#include "shell/window_refs.h"

namespace kesto::apps {

void LaunchApp(const Text& appKey) {
  // Keys also come from web pages; one with a line break would add keys the updater trusts.
  if (!net::IsSafeAppKey(appKey)) return;
  ui::SetBool(refs::kCataloguePanel, ui::prop::kDisable, true);
  ui::SetInt(refs::kPages, ui::prop::tab::kCurrentPage, refs::kLoadingPage);
  ui::SetBool(refs::kCataloguePanel, ui::prop::kDisable, false);

  native::Handle running = shell::AppConfig->GetWindowHandle(appKey);
  if (shell::IsProgramWindow(running, appKey)) {
    shell::ActivateWindow(running, true);
  } else {
    shell::AppConfig->SetRun(appKey);
    net::StartUpdaterByFullPath();
    ProcessEvents();
  }
  // Back to the list in both cases: nothing is loading once a running application is in front,
  // and a loading page left standing would hide the list until the seller picks a page.
  ui::SetInt(refs::kPages, ui::prop::tab::kCurrentPage, refs::kInstalledAppsPage);
}

}  // namespace kesto::apps
