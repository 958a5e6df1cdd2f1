// The cases through the platform's own profile code.
#include "tests/profile_differential/case_calls.h"

namespace kesto {

Text CaseRead(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
  return ReadIniValue(file, section, key, defaultValue);
}

bool CaseWrite(const Text& file, const Text& section, const std::optional<Text>& key,
               const std::optional<Text>& value) {
  return WriteIniValue(file, section, key, value);
}

}  // namespace kesto
