// Reading and writing a loaded window's properties (the control's empty name addresses it).
#pragma once

#include "runtime/gtk/loaded_windows.h"

namespace kesto::gtk {

ui::Value ReadWindowProperty(LoadedWindow& window, int index);
void WriteWindowProperty(LoadedWindow& window, int index, const ui::Value& value);

}  // namespace kesto::gtk
