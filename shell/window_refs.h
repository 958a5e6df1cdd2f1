// The windows and controls the program addresses, by their layout names.
#pragma once

#include "layouts/names.h"
#include "runtime/ui.h"

namespace kesto::refs {

// The main window and its controls.
inline const ui::Ref kMainWindow{names::kMainWindow, ""};
inline const ui::Ref kTitleLabel{names::kMainWindow, "_标题"};
inline const ui::Ref kPurchaseLink{names::kMainWindow, "_自助购买"};
inline const ui::Ref kAdBrowser{names::kMainWindow, "_广告"};
inline const ui::Ref kPages{names::kMainWindow, "选择夹1"};
inline const ui::Ref kAppList{names::kMainWindow, "超级列表框1"};
inline const ui::Ref kCataloguePanel{names::kMainWindow, "超文本界面框1"};
inline const ui::Ref kSidePanel{names::kMainWindow, "超文本界面框2"};
inline const ui::Ref kAddressBox{names::kMainWindow, "编辑框1"};
inline const ui::Ref kPageBrowser{names::kMainWindow, "超文本浏览框1"};

// Pages of 选择夹1 the program switches to.
inline constexpr int kCataloguePage = 2;
inline constexpr int kInstalledAppsPage = 3;
inline constexpr int kLoadingPage = 4;

// The update window's progress bar and the purchase window's browser.
inline const ui::Ref kUpdateWindow{names::kUpdateWindow, ""};
inline const ui::Ref kUpdateProgressBar{names::kUpdateWindow, "进度条1"};
inline const ui::Ref kPurchaseWindow{names::kPurchaseWindow, ""};
inline const ui::Ref kPurchaseBrowser{names::kPurchaseWindow, "超文本浏览框1"};

}  // namespace kesto::refs
