// The one platform of a program folder: the folder's instance lock, taken before the main window
// is loaded, and the window of the platform that already runs.
#pragma once

#include "runtime/native.h"

namespace kesto::shell {

// Waits for the program folder's instance lock until it is free (its holder ended, as a user
// start does once it has handed over to the updater) or the platform holding it has recorded a
// live window, at most a few seconds. Remembers whether this process holds it.
void TakeInstanceLockOrWait();

// False after TakeInstanceLockOrWait when another platform of this folder held the lock.
bool HoldsInstanceLock();

// The main window of another platform process recorded under "pt" and alive; 0 when there is
// none. A reused handle that now names this process's own window, or another program's, is no
// record.
native::Handle RunningPlatformWindow();

}  // namespace kesto::shell
