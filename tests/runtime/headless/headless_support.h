// Handlers that record which bound operation ran, and layout look-ups, for tests of the headless
// toolkit.
#pragma once

#include <iterator>
#include <stdexcept>
#include <utility>
#include <vector>

#include "layouts/names.h"
#include "runtime/headless/controls.h"
#include "runtime/headless/frame.h"
#include "runtime/layout.h"
#include "runtime/ui.h"

namespace kesto::testing {

struct HandlerCall {
  Text handler;
  ui::EventArgs args;
};

inline std::vector<HandlerCall>& Calls() {
  static std::vector<HandlerCall> calls;
  return calls;
}

// What every recording handler returns.
inline ui::EventResult& NextResult() {
  static ui::EventResult result;
  return result;
}

// Every handler name the layouts bind.
inline constexpr const char* kBoundHandlerNames[] = {
    names::kOnMainWindowCreated,   names::kOnMainWindowDestroying, names::kOnTrayNotify,
    names::kOnExitChosen,          names::kShowCatalogue,          names::kShowInstalledApps,
    names::kOnSidePanelEvent,      names::kOnCataloguePanelEvent,  names::kOnRefreshLinkPressed,
    names::kOnAppListActivated,    names::kOnAddressKeyDown,       names::kHideToTray,
    names::kOnUpdateWindowCreated, names::kOnPurchaseWindowCreated};

template <int N>
ui::EventResult Record(const ui::EventArgs& args) {
  Calls().push_back({kBoundHandlerNames[N], args});
  return NextResult();
}

template <int... N>
void RegisterRecorders(std::integer_sequence<int, N...>) {
  (ui::RegisterHandler(kBoundHandlerNames[N], &Record<N>), ...);
}

// A clean toolkit with a recording handler under every bound name.
inline void StartRecording() {
  headless::ResetAll();
  Calls().clear();
  NextResult().reset();
  RegisterRecorders(std::make_integer_sequence<int, std::size(kBoundHandlerNames)>{});
}

// The layout of a control of one of the program's windows.
inline const ui::ControlLayout& LayoutOf(const ui::Ref& ref) {
  for (const ui::ControlLayout& c : ui::FindWindowLayout(ref.window)->controls) {
    if (c.name == ref.control) return c;
  }
  throw std::logic_error("no such control in the layout");
}

inline std::vector<Text> CalledHandlers() {
  std::vector<Text> names;
  for (const HandlerCall& call : Calls()) names.push_back(call.handler);
  return names;
}

}  // namespace kesto::testing
