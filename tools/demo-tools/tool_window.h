// The frame every demo tool shares: a GTK window that records itself in qmztx.ini, so that the
// platform can bring it to the front instead of starting it twice and close it when the user
// leaves the platform.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

namespace kesto::demo {

struct ToolWindow {
  const char* title;  // UTF-8
  int width;
  int height;
  // Fills the window; called once the toolkit is up.
  std::function<GtkWidget*(GtkWindow*)> buildContent;
  // Runs when a close request arrives, before the window goes (may be empty).
  std::function<void()> onClose;
};

// The key the platform knows a tool by: its program file's name up to the first ".", so the
// same program installed as app\memo\memo.qmz records itself as "memo".
std::string ToolKeyFromFileName(const std::string& fileName);

// Starts the runtime (the tool's folder becomes the current directory, so qmztx.ini is found
// two folders up), shows the window, records its native handle under the tool's key in section
// "jb", and ends the process when the window is closed.
[[noreturn]] void RunToolWindow(int argc, char** argv, const ToolWindow& tool);

}  // namespace kesto::demo
