// Loading a window from its layout and closing it again, over the toolkit's native windows.
#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::front {

namespace {

bool LoadNow(const Text& name) {
  // An open window comes to the front; one whose being-destroyed event runs is replaced.
  if (std::shared_ptr<LoadedWindow> loaded = FindLoadedWindow(name);
      loaded && !loaded->destroying) {
    RaiseWindow(*loaded);
    return true;
  }
  const ui::WindowLayout* layout = ui::FindWindowLayout(name);
  if (!layout) return false;
  std::shared_ptr<LoadedWindow> loaded = BuildWindow(*layout);
  if (!loaded) return false;
  RegisterLoadedWindow(loaded);
  if (layout->visible) ShowNewWindow(*loaded);
  loaded->Fire("", ui::Event::kCreated);
  return true;
}

}  // namespace

}  // namespace kesto::front

namespace kesto::ui {

bool LoadWindow(const Text& window) {
  bool loaded = false;
  front::RunOnUiThread([&] { loaded = front::LoadNow(window); });
  return loaded;
}

// Always posted, also on the user-interface thread: the window goes after the caller returns.
// The request is for the window loaded now; one loaded anew later is not closed by it.
void CloseWindow(const Text& window) {
  if (front::ChangesWindowsHere()) {
    std::weak_ptr<front::LoadedWindow> loaded = front::FindLoadedWindow(window);
    front::PostToUiThread([loaded] { front::DestroyLoadedWindow(loaded.lock()); });
  } else {
    front::PostToUiThread(
        [window] { front::DestroyLoadedWindow(front::FindLoadedWindow(window)); });
  }
}

}  // namespace kesto::ui
