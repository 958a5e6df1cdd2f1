// ReadIniValue and WriteIniValue on the system's own profile functions, with the bytes as they
// stand: the updater and the tools read and write the shared file through the same calls.
#include <windows.h>

#include "runtime/core.h"
#include "runtime/profile_guards.h"

namespace kesto {

namespace {
// The value buffer holds 10239 bytes and the terminating zero.
constexpr DWORD kValueBuffer = 10240;
}  // namespace

Text ReadIniValue(const Text& file, const Text& section, const Text& key,
                  const Text& defaultValue) {
  Text path = SkipLeadingBlanks(file);
  Text sectionName = SkipLeadingBlanks(section);
  Text keyName = SkipLeadingBlanks(key);
  if (path.empty() || sectionName.empty() || keyName.empty()) return {};
  Text value(kValueBuffer, '\0');
  DWORD length =
      GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), defaultValue.c_str(),
                               value.data(), kValueBuffer, path.c_str());
  value.resize(length);
  return value;
}

bool WriteIniValue(const Text& file, const Text& section, std::optional<Text> key,
                   std::optional<Text> value) {
  if (file.empty() || !StorableInProfile(section, key, value)) return false;
  return WritePrivateProfileStringA(section.c_str(), key ? key->c_str() : nullptr,
                                    value ? value->c_str() : nullptr, file.c_str()) != FALSE;
}

}  // namespace kesto
