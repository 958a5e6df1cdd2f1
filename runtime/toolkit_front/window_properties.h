// The properties of a loaded window itself (the control's empty name addresses it).
#pragma once

#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

ui::Value ReadWindowProperty(LoadedWindow& window, int index);
void WriteWindowProperty(LoadedWindow& window, int index, const ui::Value& value);

}  // namespace kesto::front
