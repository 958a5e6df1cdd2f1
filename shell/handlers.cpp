// Registers the window handlers under the names the layouts bind them by.
#include "shell/handlers.h"

#include "apps/main_window_actions.h"
#include "apps/panel_events.h"
#include "layouts/names.h"
#include "net/self_update.h"
#include "shell/startup.h"
#include "shell/tray.h"
#include "webwin/purchase_window.h"

namespace kesto::shell {

void BindHandlers() {
  ui::RegisterHandler(names::kOnMainWindowCreated, OnMainWindowCreatedEvent);
  ui::RegisterHandler(names::kOnMainWindowDestroying, OnMainWindowDestroying);
  ui::RegisterHandler(names::kOnTrayNotify, OnTrayNotify);
  ui::RegisterHandler(names::kOnExitChosen, OnExitChosen);
  ui::RegisterHandler(names::kHideToTray, OnHideToTrayClicked);
  ui::RegisterHandler(names::kShowCatalogue, apps::OnShowCatalogueClicked);
  ui::RegisterHandler(names::kShowInstalledApps, apps::OnShowInstalledAppsClicked);
  ui::RegisterHandler(names::kOnCataloguePanelEvent, apps::OnCataloguePanelEvent);
  ui::RegisterHandler(names::kOnSidePanelEvent, apps::OnSidePanelEvent);
  ui::RegisterHandler(names::kOnRefreshLinkPressed, apps::OnRefreshLinkPressed);
  ui::RegisterHandler(names::kOnAppListActivated, apps::OnAppListActivated);
  ui::RegisterHandler(names::kOnAddressKeyDown, apps::OnAddressKeyDown);
  ui::RegisterHandler(names::kOnUpdateWindowCreated, net::OnUpdateWindowCreated);
  ui::RegisterHandler(names::kOnPurchaseWindowCreated, webwin::OnPurchaseWindowCreated);
}

}  // namespace kesto::shell
