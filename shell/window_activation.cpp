#include "shell/window_activation.h"

namespace kesto::shell {

bool IsLiveWindow(native::Handle window) {
  return window != 0 && native::IsWindow(window);
}

// Only a hidden or minimised window is shown again: a restore would take a maximised tool back
// to its normal size at every activation. A minimised window comes back in the size it had.
void ActivateWindow(native::Handle window, bool bringToTop) {
  if (!IsLiveWindow(window)) return;
  if (!native::IsWindowVisible(window)) native::ShowWindowAsync(window, native::kSwShow);
  if (native::IsIconic(window)) native::OpenIcon(window);
  native::SetForegroundWindow(window);
  if (bringToTop) native::BringWindowToTop(window);
}

}  // namespace kesto::shell
