// No instance lock on POSIX: the window record in qmztx.ini alone guards.
#include "runtime/instance_lock.h"

namespace kesto {

bool TakeInstanceLock(const Text&, int) {
  return true;
}

}  // namespace kesto
