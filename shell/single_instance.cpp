#include "shell/single_instance.h"

#include "net/updater_contract.h"
#include "runtime/instance_lock.h"
#include "shell/globals.h"
#include "shell/program_windows.h"

namespace kesto::shell {

namespace {

// Long enough for a platform started at the same moment to show its window on a slow machine;
// a holder still without one by then (its update window fetching the updater, a message box
// waiting for the seller) is a platform all the same.
constexpr int kWaitForFirstMilliseconds = 15000;
constexpr int kLockPollMilliseconds = 100;

bool holdsLock = false;

}  // namespace

void TakeInstanceLockOrWait() {
  const unsigned start = static_cast<unsigned>(TickCount());
  for (;;) {
    holdsLock = TakeInstanceLock(CurrentDirectory(), kLockPollMilliseconds);
    if (holdsLock || RunningPlatformWindow() != 0 ||
        static_cast<unsigned>(TickCount()) - start >= kWaitForFirstMilliseconds) {
      return;
    }
  }
}

bool HoldsInstanceLock() {
  return holdsLock;
}

native::Handle RunningPlatformWindow() {
  native::Handle running = AppConfig->GetWindowHandle(net::kPlatformRunTarget);
  if (!IsProgramWindow(running, net::kPlatformRunTarget) || IsOwnWindow(running)) return 0;
  return running;
}

}  // namespace kesto::shell
