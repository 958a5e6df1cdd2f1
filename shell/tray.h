// The notification-area icon, its menu, the confirmed exit that closes every recorded program,
// and hiding the main window to the icon.
#pragma once

#include "runtime/ui.h"

namespace kesto::shell {

// Shows the main window's icon with the platform's tip text.
void ShowTrayIcon();
void RemoveTrayIcon();

// Left click or double-click: the main window comes back on the installed-applications page.
void RestoreMainWindow();
// Hides the main window; where no icon is shown in a notification area to bring it back from,
// it is minimised instead.
void HideToTray();
// Asks for confirmation, then asks every program recorded in qmztx.ini to close and ends.
void ConfirmAndExit();

// Bound handlers.
ui::EventResult OnTrayNotify(const ui::EventArgs& args);
ui::EventResult OnExitChosen(const ui::EventArgs& args);
ui::EventResult OnMainWindowDestroying(const ui::EventArgs& args);
ui::EventResult OnHideToTrayClicked(const ui::EventArgs& args);

}  // namespace kesto::shell
