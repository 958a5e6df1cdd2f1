// Finding an installed application the way the platform's list finds it.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// The program folder's app folder, "\"-separated as the program's paths are.
Text AppFolder();

// The application file of `key`: the first file below the app folder, in the order the
// platform's list shows them, whose extension is "qmz" and whose name up to its first "." is
// the key. Empty when the application is not installed.
Text FindInstalledApp(const Text& key);

}  // namespace kesto::update
