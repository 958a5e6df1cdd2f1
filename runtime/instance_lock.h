// One running platform per program folder in a user's session: a lock named after the folder,
// held by the process that takes it until that process ends (or dies).
#pragma once

#include "runtime/core.h"

namespace kesto {

// Takes the lock of the folder (any spelling of its path names the same lock), waiting at most
// `waitMilliseconds` for its holder to end. True when the calling thread holds it; a thread that
// ends lets go of it. Where the system has no such lock (POSIX here), always true: the window
// record alone guards.
bool TakeInstanceLock(const Text& folder, int waitMilliseconds);

}  // namespace kesto
