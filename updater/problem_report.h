// How the updater tells the user that it could not do its job.
#pragma once

#include "runtime/core.h"

namespace kesto::updater {

// A line in the update log and a message box, since the
// updater has no window of its own that could show what went wrong.
void ReportProblem(const Text& message);

}  // namespace kesto::updater
