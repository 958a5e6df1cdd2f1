#include "bench/measure/steady_process.h"

#include <sched.h>
#include <sys/personality.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace kesto::bench {

namespace {

// The last processor the program may run on: the first usually takes the machine's interrupts.
int PinToLastProcessor() {
  cpu_set_t allowed;
  if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) return -1;
  for (int cpu = CPU_SETSIZE - 1; cpu >= 0; --cpu) {
    if (!CPU_ISSET(cpu, &allowed)) continue;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    return sched_setaffinity(0, sizeof one, &one) == 0 ? cpu : -1;
  }
  return -1;
}

}  // namespace

void SteadyThisProcess(char** argv) {
  const int current = personality(0xffffffff);
  if (current != -1 && !(current & ADDR_NO_RANDOMIZE) &&
      personality(current | ADDR_NO_RANDOMIZE) != -1) {
    execv("/proc/self/exe", argv);
    // Not started again: the run goes on with its layout as it is, and says so below.
  }
  const bool fixedLayout = (personality(0xffffffff) & ADDR_NO_RANDOMIZE) != 0;
  const int cpu = PinToLastProcessor();
  double load[1] = {-1};
  getloadavg(load, 1);
  std::printf("memory layout %s; %s %d; load average %.2f (a quiet machine reads below 0.5)\n\n",
              fixedLayout ? "fixed" : "randomised (could not be fixed)",
              cpu >= 0 ? "pinned to processor" : "not pinned, processor", cpu, load[0]);
  std::fflush(stdout);
}

}  // namespace kesto::bench
