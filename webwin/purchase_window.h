// The purchase window: the self-service purchase page inside the platform, with the
// customer-service number in its title.
#pragma once

#include "runtime/ui.h"

namespace kesto::webwin {

// Opens the purchase window at the purchase page. An open one is sent to the page again and
// brought to the front instead of being loaded a second time.
void OpenPurchaseWindow();

// The window's created handler: appends the customer-service number to its title.
ui::EventResult OnPurchaseWindowCreated(const ui::EventArgs& args);

}  // namespace kesto::webwin
