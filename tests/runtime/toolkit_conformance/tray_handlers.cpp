#include "tests/runtime/toolkit_conformance/tray_handlers.h"

#include "layouts/names.h"

namespace kesto::testing {

namespace {

const ui::Ref kMain{names::kMainWindow, ""};

ui::EventResult OnTray(const ui::EventArgs& args) {
  TrayCodes().push_back(args.a);
  if (args.a == 1 || args.a == 2) {
    ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateCentred);
    ui::SetBool(kMain, ui::prop::kVisible, true);
  } else if (args.a == 3) {
    ui::PopupMenu(names::kMainWindow, names::kTrayMenu);
  }
  return {};
}

}  // namespace

std::vector<int>& TrayCodes() {
  static std::vector<int> codes;
  return codes;
}

ui::EventResult HideToTray(const ui::EventArgs&) {
  if (ui::TrayAvailable()) ui::SetBool(kMain, ui::prop::kVisible, false);
  ui::SetInt(kMain, ui::prop::window::kWindowState, ui::kStateMinimised);
  return {};
}

void RegisterTrayHandlers() {
  ui::RegisterHandler(names::kHideToTray, HideToTray);
  ui::RegisterHandler(names::kOnTrayNotify, OnTray);
}

}  // namespace kesto::testing
