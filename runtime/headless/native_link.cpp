// Loaded windows and their controls get native handles of their own.
#include <atomic>

#include "runtime/headless/controls_state.h"

namespace kesto::headless::detail {

namespace {
std::atomic<native::Handle> nextHandle{0x10000};
}

native::Handle NewNativeWindow(const Text&) {
  return nextHandle++;
}

void DropNativeWindow(native::Handle) {}

}  // namespace kesto::headless::detail
