// TickCount: milliseconds since the system started, wrapping as a signed 32-bit count does.
#include <time.h>

#include <cstdint>

#include "runtime/core.h"

namespace kesto {

int TickCount() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                      static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<int>(static_cast<std::uint32_t>(milliseconds));
}

}  // namespace kesto
