// Native handles and keyboard focus of windows and controls.
#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/ui_thread.h"
#include "runtime/gtk/x11_access.h"

namespace kesto::ui {

// A window's handle is its X11 id. Controls live inside their window's X11 window and have no
// id of their own: 0.
std::intptr_t NativeHandle(const Ref& ref) {
  std::intptr_t handle = 0;
  gtk::RunOnUiThread([&] {
    std::shared_ptr<gtk::LoadedWindow> window = gtk::FindLoadedWindow(ref.window);
    if (window && ref.control.empty()) handle = gtk::XidOf(window->window());
  });
  return handle;
}

void FocusControl(const Ref& ref) {
  gtk::RunOnUiThread([&] {
    gtk::Control& control = gtk::ControlOrFail(ref);
    gtk_widget_grab_focus(control.FocusTarget());
  });
}

}  // namespace kesto::ui
