// What the updater does for each run target the platform writes to key "run" of section "wm".
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "runtime/core.h"
#include "runtime/native.h"
#include "runtime/tool_services.h"
#include "runtime/watched_program.h"

namespace kesto::updater {

// Whether a start of `target` may put a staged release in place first: only while it holds the
// folder's update lock. Without it, the installed release is started as it is.
enum class StagedReleases { kApply, kLeave };

// A target just started, and the window record it had before: the new window is known by its
// process, since it may well be given the number of the window that ended. A release on trial
// is started as a watched program, with the hold that makes this updater the one trying it.
struct StartedTarget {
  Text key;  // "pt" or an application key
  Text commandLine;
  native::Handle before = 0;
  std::uint32_t beforeOwner = 0;
  std::unique_ptr<WatchedProgram> trial;
  std::unique_ptr<FileHold> trialHold;
};

// Starts the platform program named by key "name" of section "wm", from the program folder,
// with the single argument "-qmz".
bool StartPlatform(Text& problem, StagedReleases staged, std::optional<StartedTarget>& started);

// Brings application `key` up: a running one (its recorded window is alive) is brought to the
// front; otherwise it is installed from the update server when it is not installed yet, then
// started, and `started` says what to wait for. False with an empty `problem` when the seller
// cancelled the install. A key that is no application key is refused before anything else.
bool BringUpApplication(const Text& key, Text& problem, StagedReleases staged,
                        std::optional<StartedTarget>& started);

// Waits, for a bounded time, until the started target has recorded its window, so that a second
// start finds it running; it returns as soon as the window is recorded. A release on trial is
// watched on until it has settled: one that ends, crashes or shows no window first is ended, the
// release it replaced is put back and started instead, and its version is refused.
void SeeStartThrough(StartedTarget& started);

// The file a start of application `key` holds from before it looks for the application's
// window until that window is recorded: a second start of the same tool meanwhile waits for it
// and then brings the window to the front, while starts of other tools go ahead. Empty when it
// cannot be made.
Text ApplicationStartLock(const Text& key);

}  // namespace kesto::updater
