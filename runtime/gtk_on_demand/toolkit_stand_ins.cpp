// The toolkit's calls in a program that loads the toolkit on demand. Without the toolkit the
// program has no window: there are no events to pump, no loop to run and no other thread the
// user interface lives on.
#include <unistd.h>

#include <cstdio>

#include "runtime/gtk_on_demand/loaded_toolkit.h"
#include "runtime/toolkit.h"
#include "runtime/x11/window_queries.h"

namespace kesto {

using gtk_on_demand::LoadedToolkit;
using gtk_on_demand::ToolkitIfLoaded;

#define KESTO_LOADING_STAND_IN(space, name, result, parameters, arguments) \
  result space::name parameters {                                          \
    return LoadedToolkit().space##_##name arguments;                       \
  }
KESTO_WINDOW_CALLS(KESTO_LOADING_STAND_IN)
#undef KESTO_LOADING_STAND_IN

void toolkit::Start(int argc, char** argv) {
  gtk_on_demand::KeepCommandLine(argc, argv);
  // Without a display the toolkit's start says why the program cannot run, as it would have.
  if (!x11::DisplayReachable()) LoadedToolkit();
}

bool toolkit::OnUiThread() {
  const gtk_on_demand::ToolkitCalls* calls = ToolkitIfLoaded();
  return !calls || calls->toolkit_OnUiThread();
}

void toolkit::ProcessEvents() {
  if (const gtk_on_demand::ToolkitCalls* calls = ToolkitIfLoaded()) calls->toolkit_ProcessEvents();
}

void toolkit::RunMessageLoop() {
  if (const gtk_on_demand::ToolkitCalls* calls = ToolkitIfLoaded()) calls->toolkit_RunMessageLoop();
}

void toolkit::EndProcess(int exitCode) {
  if (const gtk_on_demand::ToolkitCalls* calls = ToolkitIfLoaded())
    calls->toolkit_EndProcess(exitCode);
  std::fflush(nullptr);
  _exit(exitCode);
}

}  // namespace kesto
