// The process entry: runtime, global state, exit routine, main window, message loop.
#include "shell/process_entry.h"

#include "layouts/names.h"
#include "runtime/core.h"
#include "runtime/toolkit.h"
#include "runtime/ui.h"
#include "shell/globals.h"
#include "shell/settings_folder.h"
#include "shell/single_instance.h"
#include "shell/startup.h"

namespace kesto::shell {

int ProcessEntry(int argc, char** argv, void (*bind)()) {
  RuntimeStart(argc, argv);
  InitGlobals();
  RegisterExitRoutine(ReleaseGlobals);
  bind();
  AdoptMisplacedSettings();
  TakeInstanceLockOrWait();
  HandOverBeforeAnyWindow();
  if (!ui::LoadWindow(names::kMainWindow)) return -1;
  toolkit::RunMessageLoop();
  return 0;
}

}  // namespace kesto::shell
