// The start-up sequence, run inside the main window's created event: platform information and
// title, the installed applications, the tray icon, the single-instance check, the hand-over to
// the updater, the window outline and the first page.
#pragma once

#include "runtime/ui.h"

namespace kesto::shell {

// Ends the process when another platform window is alive, or after handing over to the updater.
void OnMainWindowCreated();
ui::EventResult OnMainWindowCreatedEvent(const ui::EventArgs& args);

// A start by the updater ("-qmz" alone, blanks around it allowed) records the main window under
// "pt" and returns. Any other start says so when the program folder takes no writes, sets the
// updater to start the platform and hands over to it (ending the process), or, without an
// updater, opens the update window and returns.
void HandleCommandLine();

// A user start whose sequence would show nothing before handing over hands over at once, before
// the main window is loaded: what the sequence does first (the title line, the list, the tray
// icon) is gone again when it hands over, and a start that only starts the updater loads no
// toolkit. Ends the process when it handed over; otherwise the sequence runs as it is.
void HandOverBeforeAnyWindow();

// Every command-line argument, each preceded by one blank.
Text JoinCommandLine();

}  // namespace kesto::shell
