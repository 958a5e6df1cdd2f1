// What the updater does for each run target the platform writes to key "run" of section "wm".
#pragma once

#include "runtime/core.h"

namespace kesto::updater {

// Whether a start of `target` may put a staged release in place first: only while it holds the
// folder's updater lock. Without it, the installed release is started as it is.
enum class StagedReleases { kApply, kLeave };

// Starts the platform program named by key "name" of section "wm", from the program folder,
// with the single argument "-qmz".
bool StartPlatform(Text& problem, StagedReleases staged);

// Brings application `key` up: a running one (its recorded window is alive) is brought to the
// front; otherwise it is installed from the update server when it is not installed yet, then
// started, and the call waits until it has recorded its window, so that an updater started
// right after this one finds it running. False with an empty `problem` when the seller
// cancelled the install. A key that is no application key is refused before anything else.
bool BringUpApplication(const Text& key, Text& problem, StagedReleases staged);

// Waits, for a bounded time, until the platform just started shows its window: work after a
// start must not compete with the start itself.
void WaitForPlatformWindow();

}  // namespace kesto::updater
