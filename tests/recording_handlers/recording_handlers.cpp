#include "tests/recording_handlers/recording_handlers.h"

#include <iterator>

namespace kesto::testing {

namespace {

// Handlers are plain functions: one recorder per bound name, told apart by a template index.
std::vector<std::string>& RecorderNames() {
  static std::vector<std::string> names;
  return names;
}

template <int N>
ui::EventResult Recorder(const ui::EventArgs& args) {
  ReachedHandlers().push_back({RecorderNames()[N], args});
  return {};
}

ui::Handler RecorderFor(std::size_t slot) {
  static constexpr ui::Handler recorders[] = {Recorder<0>, Recorder<1>, Recorder<2>,  Recorder<3>,
                                              Recorder<4>, Recorder<5>, Recorder<6>,  Recorder<7>,
                                              Recorder<8>, Recorder<9>, Recorder<10>, Recorder<11>};
  return slot < std::size(recorders) ? recorders[slot] : nullptr;
}

}  // namespace

std::vector<Reached>& ReachedHandlers() {
  static std::vector<Reached> reached;
  return reached;
}

int CountReached(const std::string& handler) {
  int count = 0;
  for (const Reached& r : ReachedHandlers()) count += r.handler == handler;
  return count;
}

void RecordUnder(const char* handlerName) {
  RecorderNames().push_back(handlerName);
  ui::RegisterHandler(handlerName, RecorderFor(RecorderNames().size() - 1));
}

}  // namespace kesto::testing
