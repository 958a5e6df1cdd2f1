// GTK's side of what the toolkit-independent front asks of a toolkit.
#include "runtime/toolkit_front/back_end.h"

#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/ui_thread.h"

namespace kesto::front {

void RunOnUiThread(const std::function<void()>& work) {
  gtk::RunOnUiThread(work);
}

void PostToUiThread(std::function<void()> work) {
  gtk::PostToUiThread(std::move(work));
}

bool ChangesWindowsHere() {
  return gtk::IsUiThread();
}

void EndMessageLoop() {
  if (gtk_main_level() > 0) gtk_main_quit();
}

}  // namespace kesto::front
