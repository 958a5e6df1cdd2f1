// The stall time of internet transfers. The product's is fixed; the test programs, and the
// copies of the programs built for them, are built with KESTO_TEST_STALL_TIME and take a
// shorter one from their environment, so that a test of a stall waits seconds, not a minute.
#include <cstdlib>

#include "runtime/inet.h"

namespace kesto::inet {

int StallSeconds() {
#ifdef KESTO_TEST_STALL_TIME
  // Read at every use: a test program shortens it for some tests and not for others.
  if (const char* value = std::getenv("KESTO_TEST_STALL_SECONDS")) {
    const long seconds = std::strtol(value, nullptr, 10);
    if (seconds > 0 && seconds < kStallSeconds) return static_cast<int>(seconds);
  }
#endif
  return kStallSeconds;
}

}  // namespace kesto::inet
