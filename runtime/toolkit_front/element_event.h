// The event object a web panel's element event hands its handler.
#pragma once

#include "runtime/ui.h"

namespace kesto::front {

// Its "srcElement" is the element with its "ID" and "name".
ui::Object ElementEventObject(const Text& id, const Text& name);

}  // namespace kesto::front
