#include "apps/launch.h"

#include "net/updater_contract.h"
#include "shell/globals.h"
#include "shell/program_windows.h"
#include "shell/window_activation.h"
#include "shell/window_refs.h"
#include "update/app_key.h"

namespace kesto::apps {

void LaunchApp(const Text& appKey) {
  // Keys also come from web pages: one that names no application (a line break that adds keys
  // the updater trusts, a path, the platform's or the updater's own name) starts nothing.
  if (!update::IsApplicationKey(appKey)) return;
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
