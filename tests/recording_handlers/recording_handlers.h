// Handlers that record what reached them, for the GUI tests.
#pragma once

#include <string>
#include <vector>

#include "runtime/ui.h"

namespace kesto::testing {

// Events that reached a recording handler, in order.
struct Reached {
  std::string handler;
  ui::EventArgs args;
};
std::vector<Reached>& ReachedHandlers();
int CountReached(const std::string& handler);

// Binds a recording handler (no result) to the name.
void RecordUnder(const char* handlerName);

}  // namespace kesto::testing
