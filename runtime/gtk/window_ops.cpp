// Native handles and keyboard focus of windows and controls.
#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/x11_access.h"
#include "runtime/toolkit_front/back_end.h"

namespace kesto::front {

// A window's handle is its X11 id.
std::intptr_t WindowHandle(LoadedWindow& window) {
  return gtk::XidOf(static_cast<gtk::LoadedWindow&>(window).window());
}

// Controls live inside their window's X11 window and have no id of their own.
std::intptr_t ControlHandle(Control&) {
  return 0;
}

void GiveFocus(Control& control) {
  gtk_widget_grab_focus(static_cast<gtk::Control&>(control).FocusTarget());
}

}  // namespace kesto::front
