// Updates that wait for the next start of their target ("pt", the platform, "up", the updater,
// or an application key). After a start, the vendor's signed feed is checked for a newer release
// of the target, whose files are fetched and checked into <stage>\incoming and, once all are
// whole, become <stage>\ready, which the next start applies (release_swap.h), so that no start
// waits on the network.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// Stages the feed's release of `target` when it is newer than the installed one and neither
// refused nor withdrawn. Done under the folder's update lock. False, with `problem` saying why
// (GBK text), when the feed or a file was refused or could not be had.
bool StageNewerRelease(const Text& target, Text& problem);

}  // namespace kesto::update
