// A new updater release is tried before any start is handed to it: it is started with the check
// switch and must answer, as only a working updater does, within the settle time. One that does
// not gives way to the updater it replaced, which stays, and its version is refused.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// The switch a release on trial is started with; it answers and ends.
inline constexpr char kUpdaterCheckSwitch[] = "-check";

// Applies the staged updater release, or finishes a step a stopped updater left, and sees a
// release on trial through: kept when it answers, rolled back when it does not. Under the
// folder's update lock.
void SettleUpdaterRelease();
// For the platform before it hands a start over: the updater it would start may be a release
// whose trial was stopped (a logoff, a kill), so that trial is seen through first. Costs one
// look at the disk when there is none.
void FinishStoppedUpdaterTrial();
// What the updater started with the check switch does.
void AnswerUpdaterCheck();

}  // namespace kesto::update
