// A release that starts and runs on without ever showing a window: the updater must end it
// itself before it can put the release before it back.
#include "runtime/core.h"
#include "runtime/tool_services.h"

int main(int argc, char** argv) {
  kesto::RuntimeStart(argc, argv);
  constexpr int kRunMilliseconds = 120000;
  kesto::PauseMilliseconds(kRunMilliseconds);
  return 0;
}
