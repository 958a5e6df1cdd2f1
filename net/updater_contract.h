// What the platform hands to the separate updater program up.qmz: the run target in
// qmztx.ini and the command line that starts it. The updater brings the target up to date and
// starts it; the platform never starts a program itself.
#pragma once

#include "runtime/core.h"

namespace kesto::net {

// The run target that stands for the platform itself.
inline constexpr char kPlatformRunTarget[] = "pt";
// The updater's file in the program folder, and its name in the release feed.
inline constexpr char kUpdaterFileName[] = "up.qmz";
// The switch the updater starts the platform with.
inline constexpr char kUpdaterSwitch[] = "-qmz";

// Full path of up.qmz in the program folder (the current directory).
Text UpdaterPath();
bool UpdaterExists();

// Starts "up.qmz -qmz" from the current directory without waiting; false when it could not run.
bool StartUpdater();
// Starts the updater by its full path in the program folder, as an application start does.
bool StartUpdaterByFullPath();

}  // namespace kesto::net
