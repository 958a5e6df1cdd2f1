// The GTK toolkit's module: the table of its calls, the only thing the program looks up in it.
#include "runtime/gtk_on_demand/toolkit_calls.h"
#include "runtime/toolkit.h"

namespace kesto::gtk_on_demand {
namespace {

#define KESTO_TOOLKIT_CALL_ADDRESS(space, name, result, parameters, arguments) &space::name,
const ToolkitCalls kCalls{KESTO_FRAME_CALLS(KESTO_TOOLKIT_CALL_ADDRESS)
                              KESTO_WINDOW_CALLS(KESTO_TOOLKIT_CALL_ADDRESS)};
#undef KESTO_TOOLKIT_CALL_ADDRESS

}  // namespace
}  // namespace kesto::gtk_on_demand

extern "C" const kesto::gtk_on_demand::ToolkitCalls* kesto_toolkit_calls() {
  return &kesto::gtk_on_demand::kCalls;
}
