// The SessionEndHolds of this process as the toolkit's windows see them: while one is held they
// answer the session's question as its own window does.
#pragma once

#include <windows.h>

namespace kesto::win32 {

// Whether a SessionEndHold of this process is held now.
bool SessionEndHeld();

// Tells Windows the reason of the newest hold as `window`'s (which must be of the calling
// thread); without a hold, takes the window's reason back.
void ShowSessionEndReason(HWND window);

// Returns when no SessionEndHold of this process is held any more, answering the messages other
// threads send to this one meanwhile.
void WaitForSessionEndHolds();

}  // namespace kesto::win32
