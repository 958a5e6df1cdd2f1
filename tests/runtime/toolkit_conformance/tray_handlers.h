// The platform's tray handlers cut down to what the tray tests need.
#pragma once

#include <vector>

#include "runtime/ui.h"

namespace kesto::testing {

// The tray notification codes the main window has had since they were last cleared.
std::vector<int>& TrayCodes();
// Hides the main window to the tray, or minimises it where there is no tray.
ui::EventResult HideToTray(const ui::EventArgs&);
// Registers HideToTray and, as the tray notification, what the program does: the code is
// recorded, a left click or double click restores the window centred, a right click pops the
// tray menu up.
void RegisterTrayHandlers();

}  // namespace kesto::testing
