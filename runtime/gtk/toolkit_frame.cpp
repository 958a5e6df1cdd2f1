// The toolkit seam on GTK: start-up on the X11 back end, the event pump, the message loop and
// the end of the process.
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/ui_thread.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit.h"

namespace kesto::toolkit {

namespace {
// A page that keeps repainting would otherwise keep ProcessEvents busy forever.
constexpr int kMaxEventsPerPump = 2000;

constexpr char kNoX[] =
    "Kesto应用平台需要 X11 显示：请在登录时选择 Xorg 会话，或安装 XWayland。\n"
    "Kesto needs an X11 display: choose an Xorg session when logging in, or install XWayland.";

// With no X server the user hears why instead of seeing nothing: in a window when the session
// is Wayland without XWayland, and on the standard error in any case.
[[noreturn]] void CannotRun() {
  const std::string message = posix::GbkToUtf8(Text(kNoX));
  std::fprintf(stderr, "kesto: %s\n", message.c_str());
  std::fflush(stderr);
  if (std::getenv("WAYLAND_DISPLAY")) {
    gdk_set_allowed_backends("wayland");
    if (gtk_init_check(nullptr, nullptr)) {
      GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                              GTK_BUTTONS_OK, "%s", message.c_str());
      gtk_window_set_title(GTK_WINDOW(box), "Kesto");
      gtk_dialog_run(GTK_DIALOG(box));
    }
  }
  _exit(1);
}
}  // namespace

void Start(int argc, char** argv) {
  gtk::MarkUiThread();
  // Window handles are X11 window ids, so the X11 back end is the only one we can use.
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(&argc, &argv)) CannotRun();
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
