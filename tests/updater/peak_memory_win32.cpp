#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include "tests/updater/peak_memory.h"

namespace kesto::testing {

std::size_t PeakMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

}  // namespace kesto::testing
