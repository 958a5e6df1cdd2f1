#include "apps/main_window_actions.h"

#include "apps/app_list.h"
#include "apps/launch.h"
#include "shell/builtin_settings.h"
#include "shell/globals.h"
#include "shell/window_refs.h"

namespace kesto::apps {

namespace {
constexpr int kEnterKey = 13;
}

void ShowCatalogue() {
  ui::SetText(refs::kCataloguePanel, ui::prop::browser::kUrl,
              "http://" + Text(settings::kWebHost) + "/app");
  ui::Execute(refs::kCataloguePanel, ui::kRefresh);
  ui::FocusControl(refs::kCataloguePanel);
  shell::PanelPointerSeen = false;
  ui::SetInt(refs::kPages, ui::prop::tab::kCurrentPage, refs::kCataloguePage);
}

void ShowInstalledApps() {
  ui::SetInt(refs::kPages, ui::prop::tab::kCurrentPage, refs::kInstalledAppsPage);
  RefreshAppList();
}

ui::EventResult OnShowCatalogueClicked(const ui::EventArgs&) {
  ShowCatalogue();
  return {};
}

ui::EventResult OnShowInstalledAppsClicked(const ui::EventArgs&) {
  ShowInstalledApps();
  return {};
}

ui::EventResult OnAppListActivated(const ui::EventArgs&) {
  int row = ui::GetInt(refs::kAppList, ui::prop::listview::kSelectedIndex);
  const Array<Text>& apps = shell::InstalledApps;
  if (row >= 0 && row < apps.Count()) LaunchApp(apps[row + 1]);
  return {};
}

ui::EventResult OnRefreshLinkPressed(const ui::EventArgs&) {
  RefreshAppList();
  return {};
}

ui::EventResult OnAddressKeyDown(const ui::EventArgs& args) {
  if (args.a == kEnterKey) {
    ui::SetText(refs::kPageBrowser, ui::prop::browser::kUrl,
                ui::GetText(refs::kAddressBox, ui::prop::editbox::kContent));
  }
  return {};
}

}  // namespace kesto::apps
