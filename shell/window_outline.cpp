#include "shell/window_outline.h"

namespace kesto::shell {

void RoundWindowCorners(native::Handle window, int radius) {
  native::Rect rect;
  // Without a rectangle the outline would be empty and hide the whole window.
  if (!native::GetWindowRect(window, rect)) return;
  int width = rect.right - rect.left - 1;
  int height = rect.bottom - rect.top - 1;
  native::SetRoundWindowOutline(window, width, height, radius);
}

}  // namespace kesto::shell
