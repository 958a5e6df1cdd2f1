#include "webwin/purchase_window.h"

#include "shell/globals.h"
#include "shell/window_activation.h"
#include "shell/window_refs.h"

namespace kesto::webwin {

void OpenPurchaseWindow() {
  native::Handle open = ui::NativeHandle(refs::kPurchaseWindow);
  if (open == 0) ui::LoadWindow(names::kPurchaseWindow);
  ui::SetText(refs::kPurchaseBrowser, ui::prop::browser::kUrl,
              shell::PlatformInfo[shell::kPurchasePage]);
  if (open != 0) shell::ActivateWindow(open);
}

ui::EventResult OnPurchaseWindowCreated(const ui::EventArgs&) {
  Text title = ui::GetText(refs::kPurchaseWindow, ui::prop::window::kTitle);
  ui::SetText(refs::kPurchaseWindow, ui::prop::window::kTitle,
              title + shell::PlatformInfo[shell::kServiceNumber]);
  return {};
}

}  // namespace kesto::webwin
