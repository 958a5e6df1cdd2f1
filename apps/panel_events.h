// The two web panels of the main window: elements named "qmz" start (or add) the application
// their ID names; on the catalogue panel an element named "qmzpay" opens the purchase window.
#pragma once

#include "runtime/ui.h"

namespace kesto::apps {

// Acts on a click, or on the first pointer move since the catalogue was shown; a page event
// that arrives while an action runs is left alone. The result cancels the page's own action for
// everything but the mouse wheel.
ui::EventResult HandlePanelEvent(const ui::Object& event, int code, bool opensPurchaseWindow);

// The bound handlers of 超文本界面框1 (catalogue page) and 超文本界面框2 (side panel).
ui::EventResult OnCataloguePanelEvent(const ui::EventArgs& args);
ui::EventResult OnSidePanelEvent(const ui::EventArgs& args);

}  // namespace kesto::apps
