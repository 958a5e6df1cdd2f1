// The main window's buttons, list and boxes: the catalogue and installed-applications pages,
// the list's double-click, the refresh link and the address box.
#pragma once

#include "runtime/ui.h"

namespace kesto::apps {

// 图形按钮3: loads the catalogue ("/app" on the web site) and shows its page.
void ShowCatalogue();
// 图形按钮4: shows the installed applications, freshly listed.
void ShowInstalledApps();

// Bound handlers.
ui::EventResult OnShowCatalogueClicked(const ui::EventArgs& args);
ui::EventResult OnShowInstalledAppsClicked(const ui::EventArgs& args);
// 超级列表框1 row double-clicked: starts the selected application, if a row with one is
// selected.
ui::EventResult OnAppListActivated(const ui::EventArgs& args);
// The "刷新" link.
ui::EventResult OnRefreshLinkPressed(const ui::EventArgs& args);
// Enter in 编辑框1 sends the browser page's browser to the typed address.
ui::EventResult OnAddressKeyDown(const ui::EventArgs& args);

}  // namespace kesto::apps
