// How the updater tells the user that it could not do its job.
#pragma once

#include "runtime/core.h"

namespace kesto::updater {

// A line on the standard error (which the demo keeps in its log) and a message box, since the
// updater has no window of its own that could show what went wrong.
void ReportProblem(const Text& message);

// A line on the standard error only: what the updater did that the seller need not be asked
// about (a release put in place or rolled back), for whoever reads the log.
void LogLine(const Text& message);

}  // namespace kesto::updater
