#include "tests/net/short_stall_time.h"

#include <cstdlib>
#include <string>

namespace kesto::testing {

namespace {

constexpr const char* kName = "KESTO_TEST_STALL_SECONDS";

// The C runtime's copy of the environment, which getenv reads and child programs get.
void SetVariable(const std::string& value) {
#ifdef _WIN32
  _putenv_s(kName, value.c_str());  // an empty value removes it
#else
  if (value.empty()) {
    unsetenv(kName);
  } else {
    setenv(kName, value.c_str(), 1);
  }
#endif
}

}  // namespace

ShortStallTime::ShortStallTime(int seconds) {
  SetVariable(std::to_string(seconds));
}

ShortStallTime::~ShortStallTime() {
  SetVariable("");
}

}  // namespace kesto::testing
