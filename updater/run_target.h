// What the updater does for each run target the platform writes to key "run" of section "wm".
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/core.h"
#include "runtime/native.h"

namespace kesto::updater {

// Whether a start of `target` may put a staged release in place first: only while it holds the
// folder's updater lock. Without it, the installed release is started as it is.
enum class StagedReleases { kApply, kLeave };

// Starts the platform program named by key "name" of section "wm", from the program folder,
// with the single argument "-qmz".
bool StartPlatform(Text& problem, StagedReleases staged);

// An application just started, and the window record it had before: the new window is known
// by its process, since it may well be given the number of the window that ended.
struct StartedApplication {
  Text key;
  native::Handle before = 0;
  std::uint32_t beforeOwner = 0;
};

// Brings application `key` up: a running one (its recorded window is alive) is brought to the
// front; otherwise it is installed from the update server when it is not installed yet, then
// started, and `started` says what to wait for. False with an empty `problem` when the seller
// cancelled the install. A key that is no application key is refused before anything else.
bool BringUpApplication(const Text& key, Text& problem, StagedReleases staged,
                        std::optional<StartedApplication>& started);

// Waits, for a few seconds at most, until the started application has recorded its window, so
// that a second start of it finds it running; it returns as soon as the window is recorded.
void WaitForApplicationWindow(const StartedApplication& started);

// The file a start of application `key` holds from before it looks for the application's
// window until that window is recorded: a second start of the same tool meanwhile waits for it
// and then brings the window to the front, while starts of other tools go ahead. Empty when it
// cannot be made.
Text ApplicationStartLock(const Text& key);

// Waits, for a bounded time, until the platform just started shows its window: work after a
// start must not compete with the start itself.
void WaitForPlatformWindow();

}  // namespace kesto::updater
