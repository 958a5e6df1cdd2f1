// The cases through the system's own profile calls, with the guards the platform puts in front
// of its profile code, on a path the system's code page spells (the build folder's).
#include <windows.h>

#include "runtime/profile_guards.h"
#include "tests/profile_differential/case_calls.h"

namespace kesto {

Text CaseRead(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
  const Text sectionName = SkipLeadingBlanks(section);
  const Text keyName = SkipLeadingBlanks(key);
  if (sectionName.empty() || keyName.empty()) return {};
  constexpr DWORD kBuffer = 10240;
  Text value(kBuffer, '\0');
  const DWORD length =
      GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), defaultValue.c_str(),
                               value.data(), kBuffer, SkipLeadingBlanks(file).c_str());
  value.resize(length);
  return value;
}

bool CaseWrite(const Text& file, const Text& section, const std::optional<Text>& key,
               const std::optional<Text>& value) {
  if (!StorableInProfile(section, key, value)) return false;
  return WritePrivateProfileStringA(section.c_str(), key ? key->c_str() : nullptr,
                                    value ? value->c_str() : nullptr, file.c_str()) != FALSE;
}

}  // namespace kesto
