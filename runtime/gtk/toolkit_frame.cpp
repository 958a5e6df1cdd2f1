// The toolkit seam on GTK: start-up on the X11 back end, the event pump, the message loop and
// the end of the process.
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>

#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/ui_thread.h"
#include "runtime/toolkit.h"

namespace kesto::toolkit {

namespace {
// A page that keeps repainting would otherwise keep ProcessEvents busy forever.
constexpr int kMaxEventsPerPump = 2000;
}  // namespace

void Start(int argc, char** argv) {
  gtk::MarkUiThread();
  // Window handles are X11 window ids, so the X11 back end is the only one we can use.
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "kesto: cannot open the X display (is DISPLAY set?)\n");
    std::fflush(stderr);
    _exit(1);
  }
}

void ProcessEvents() {
  for (int i = 0; i < kMaxEventsPerPump && gtk_events_pending(); ++i) {
    gtk_main_iteration_do(FALSE);
  }
}

void RunMessageLoop() {
  if (gtk::LoadedWindowCount() == 0) return;
  gtk_main();
}

void EndProcess(int exitCode) {
  std::fflush(nullptr);
  // Skips static destructors: GTK and WebKit keep threads of their own that must not see their
  // libraries torn down under them.
  _exit(exitCode);
}

}  // namespace kesto::toolkit
