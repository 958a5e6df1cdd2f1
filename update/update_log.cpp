#include "update/update_log.h"

#include <cstdio>

#include "runtime/tool_services.h"

namespace kesto::update {

void LogLine(const Text& message) {
  std::fprintf(stderr, "up.qmz: %s\n", TextToUtf8(message).c_str());
  std::fflush(stderr);
}

}  // namespace kesto::update
