#include <sys/resource.h>

#include "tests/updater/peak_memory.h"

namespace kesto::testing {

std::size_t PeakMemory() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;  // reported in KiB
}

}  // namespace kesto::testing
