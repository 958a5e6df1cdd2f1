// What the update wing did that the seller need not be asked about (a release put in place or
// rolled back, a problem reported), for whoever reads the log.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// <program folder>\up.log, beside up.ini: the updater's last runs, a few dozen kilobytes at most,
// for a seller to send when something went wrong.
Text UpdateLogPath();

// A line, with the time, on the standard error (which the demo keeps in its log) and in up.log.
void LogLine(const Text& message);

}  // namespace kesto::update
