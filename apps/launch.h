// Starting an application: a running one is brought to the front, any other is handed to the
// updater through qmztx.ini.
#pragma once

#include "runtime/core.h"

namespace kesto::apps {

// Shows the loading page, then activates the window recorded under `appKey` if it is alive
// (leaving the loading page up), or writes `appKey` as the updater's run target, starts the
// updater and returns to the installed-applications page. A key that could reshape qmztx.ini
// starts nothing.
void LaunchApp(const Text& appKey);

}  // namespace kesto::apps
