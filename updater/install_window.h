// A first install waits on the network before the tool can start: when it takes more than a
// moment, the seller sees the install window with its progress and a cancel button until it
// ends, rather than nothing at all after a click.
#pragma once

#include <functional>

#include "runtime/core.h"

namespace kesto::updater {

enum class InstallOutcome { kInstalled, kFailed, kCancelled };

// Runs `install` on a thread of its own and tells how it ended, showing the install window for
// `key` once it has run for half a second. Cancel, or closing the window, stops the downloads
// within a second (CancelTransfer), and `install` then fails.
InstallOutcome InstallWithProgress(const Text& key, const std::function<bool()>& install);

}  // namespace kesto::updater
