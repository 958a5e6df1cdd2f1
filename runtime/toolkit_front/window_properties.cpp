// The window's own properties: what the native window holds is the toolkit's; the window state
// is kept while the window is hidden and applied when it shows; the icon and any other property
// are kept as written.
#include "runtime/toolkit_front/window_properties.h"

#include "runtime/toolkit_front/back_end.h"

namespace kesto::front {

namespace wp = ui::prop::window;

ui::Value ReadWindowProperty(LoadedWindow& window, int index) {
  if (std::optional<ui::Value> native = ReadNativeWindowProperty(window, index)) return *native;
  if (index == wp::kWindowState) {
    if (WindowShown(window)) {
      if (std::optional<int> shown = MinimisedOrMaximised(window)) return *shown;
    }
    return window.windowState;
  }
  auto it = window.kept.find(index);
  if (it != window.kept.end()) return it->second;
  if (index == wp::kIcon) return window.layout().icon.ToBytes();
  return ui::Value{};
}

void WriteWindowProperty(LoadedWindow& window, int index, const ui::Value& value) {
  if (WriteNativeWindowProperty(window, index, value)) return;
  if (index == wp::kWindowState) {
    window.windowState = ui::IntOf(value);
    if (WindowShown(window)) ApplyWindowState(window, window.windowState);
  } else if (index == wp::kIcon) {
    const Bytes icon = ui::BytesOf(value);
    window.kept[wp::kIcon] = icon;
    ShowWindowIcon(window, icon);
  } else {
    window.kept[index] = value;
  }
}

}  // namespace kesto::front
