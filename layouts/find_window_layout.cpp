// The windows of the platform and the updater, built once and looked up by name.
#include <vector>

#include "layouts/names.h"
#include "layouts/window_layouts.h"

namespace kesto::ui {

const WindowLayout* FindWindowLayout(const Text& window) {
  static const std::vector<WindowLayout> windows = {
      layouts::MainWindowLayout(),
      layouts::UpdateWindowLayout(),
      layouts::PurchaseWindowLayout(),
      layouts::InstallWindowLayout(),
  };
  for (const WindowLayout& layout : windows) {
    if (layout.name == window) return &layout;
  }
  return nullptr;
}

}  // namespace kesto::ui
