// Putting a staged release in place and taking it back, for "pt" (the platform), "up" (the
// updater) or an application key, journaled so that a stop at any moment is finished or undone
// by the next start. The staged release is in <stage>\ready; the files it replaces are kept in
// <stage>\old (a second name of each, or a copy) until it has come up and settled. Every file
// moves in by one rename over the old one, so the program a seller starts is there at every
// moment of an apply and of a rollback.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// Finishes a step a stopped updater left (an apply is finished, an undo or a rollback is taken
// to its end), then applies the release staged for the target when there is one that is newer
// than the installed one and not refused. True when a new release was put in place now: it is
// then on trial. A rename that keeps failing for a few seconds (a file in use, a scanner holding
// it) undoes the whole apply, and the release is fetched again later. A target that is no release
// name is not touched. Done under the folder's update lock.
bool ApplyStagedRelease(const Text& target);

// Whether the target's last applied release still has to come up and settle.
bool ReleaseOnTrial(const Text& target);
// Notes one more start of the release on trial; false when it has been started too often
// without its trial being seen through (each such start was stopped: a logoff, a kill), and it
// is to be rolled back instead.
bool BeginTrial(const Text& target);
// The release on trial came up and settled: the kept release is no longer needed.
void KeepAppliedRelease(const Text& target);
// Puts back the kept release in place of the one on trial (its added files removed), and refuses
// the tried version from then on. False when a file could not be put back: the journal stays, and
// the next start finishes it.
bool RollBackRelease(const Text& target);

}  // namespace kesto::update
