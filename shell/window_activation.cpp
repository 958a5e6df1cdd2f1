#include "shell/window_activation.h"

namespace kesto::shell {

bool IsLiveWindow(native::Handle window) {
  return window != 0 && native::IsWindow(window);
}

void ActivateWindow(native::Handle window, bool bringToTop) {
  if (!IsLiveWindow(window)) return;
  native::ShowWindowAsync(window, native::kSwShowNormal);
  native::OpenIcon(window);  // restores a minimised window
  native::SetForegroundWindow(window);
  native::ShowWindow(window, native::kSwRestore);
  if (bringToTop) native::BringWindowToTop(window);
}

}  // namespace kesto::shell
