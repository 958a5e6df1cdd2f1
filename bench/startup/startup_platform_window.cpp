// The platform's main window as the program brings it up: the runtime started, the window
// loaded from its layout with all its controls and web panels.
#include "bench/startup/report_mapped.h"
#include "layouts/names.h"
#include "runtime/core.h"
#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/shared_web_process.h"
#include "runtime/toolkit.h"
#include "runtime/ui.h"

int main(int argc, char** argv) {
  kesto::RuntimeStart(argc, argv);
  kesto::bench::KeepWebTrafficLocal(kesto::gtk::ProgramWebContext());
  if (!kesto::ui::LoadWindow(kesto::names::kMainWindow)) return 1;
  kesto::bench::ReportWhenMapped(kesto::gtk::FindLoadedWindow(kesto::names::kMainWindow)->window());
  kesto::toolkit::RunMessageLoop();
  return 0;
}
