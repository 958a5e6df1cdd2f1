// TickCount: milliseconds since the system started, wrapping as GetTickCount does.
#include <windows.h>

#include "runtime/core.h"

namespace kesto {

int TickCount() {
  return static_cast<int>(GetTickCount());
}

}  // namespace kesto
