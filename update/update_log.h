// What the update wing did that the seller need not be asked about (a release put in place or
// rolled back, a problem reported), for whoever reads the log.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// A line on the standard error (which the demo keeps in its log).
void LogLine(const Text& message);

}  // namespace kesto::update
