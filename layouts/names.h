// Names shared by the layouts and the programs: the platform's three windows, the updater's
// install window, and the operations that their events are bound to.
#pragma once

namespace kesto::names {

// Windows.
inline constexpr char kMainWindow[] = "_启动窗口";
inline constexpr char kUpdateWindow[] = "更新窗口";
inline constexpr char kPurchaseWindow[] = "购买窗口";
// The updater's: a first install that takes a while shows its progress here.
inline constexpr char kInstallWindow[] = "安装窗口";

// The tray menu of the main window.
inline constexpr char kTrayMenu[] = "右击托盘";
inline constexpr char kExitMenuItem[] = "退出Kesto应用平台";

// Handlers bound by the layouts (ui::RegisterHandler names).
inline constexpr char kOnMainWindowCreated[] = "OnMainWindowCreated";
inline constexpr char kOnMainWindowDestroying[] = "OnMainWindowDestroying";
inline constexpr char kOnTrayNotify[] = "OnTrayNotify";
inline constexpr char kOnExitChosen[] = "OnExitChosen";
inline constexpr char kShowCatalogue[] = "ShowCatalogue";
inline constexpr char kShowInstalledApps[] = "ShowInstalledApps";
inline constexpr char kOnSidePanelEvent[] = "OnSidePanelEvent";
inline constexpr char kOnCataloguePanelEvent[] = "OnCataloguePanelEvent";
inline constexpr char kOnRefreshLinkPressed[] = "OnRefreshLinkPressed";
inline constexpr char kOnAppListActivated[] = "OnAppListActivated";
inline constexpr char kOnAddressKeyDown[] = "OnAddressKeyDown";
inline constexpr char kHideToTray[] = "HideToTray";
inline constexpr char kOnUpdateWindowCreated[] = "OnUpdateWindowCreated";
inline constexpr char kOnPurchaseWindowCreated[] = "OnPurchaseWindowCreated";
inline constexpr char kOnInstallCancelled[] = "OnInstallCancelled";

}  // namespace kesto::names
