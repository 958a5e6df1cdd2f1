// The window's notification-area entry.
#pragma once

#include "runtime/gtk/loaded_windows.h"

namespace kesto::gtk {

void RemoveTrayEntry(LoadedWindow& window);

}  // namespace kesto::gtk
