// Updates that wait for the next start of their target ("pt", the platform, "up", this updater,
// or an application key). After a start, the vendor's signed feed is checked for a newer release of
// the target, whose files are fetched and checked into <program folder>\.up-stage\<target>\incoming
// and, once all are whole, become "ready". The next start applies a ready release before the target
// starts, by renames only, so no start waits on the network and a stop at any moment leaves
// either the old release or, once the next start has finished the renames, the new one.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// Applies the release staged for `target`, or finishes one an earlier updater was stopped in
// the middle of; true when a new release was put in place. A release that is not newer than
// the installed one is dropped, and a target that is no release name is not touched. The files it
// replaced are kept until the next apply or KeepAppliedRelease, so that RollBackRelease can put
// them back.
bool ApplyStagedRelease(const Text& target);
// The applied release came up: what it replaced is no longer needed.
void KeepAppliedRelease(const Text& target);
// Puts back the files the last applied release replaced, and marks that release so that it
// is never staged or applied again.
void RollBackRelease(const Text& target);

// Stages the feed's release of `target` when it is newer than the installed one. False, with
// `problem` saying why (GBK text), when the feed or a file was refused or could not be had.
bool StageNewerRelease(const Text& target, Text& problem);

}  // namespace kesto::update
