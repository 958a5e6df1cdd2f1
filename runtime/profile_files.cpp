// ReadIniValue and WriteIniValue on profile files, the same on every system: a read takes the
// file's bytes as they stand; a write replaces the file whole, its read-modify-write locked
// against other writers in any process. The layout is the one the system's profile calls read
// and write, so the updater and the tools that use those calls share the file.
#include "runtime/core.h"
#include "runtime/gbk_chars.h"
#include "runtime/profile_guards.h"
#include "runtime/profile_store.h"
#include "runtime/profile_text.h"

namespace kesto {

namespace {

// The value buffer of the system's call holds 10239 bytes and its end; a two-byte character
// that would not fit whole is left out.
constexpr std::size_t kValueLimit = 10239;

Text CutToLimit(const Text& value) {
  return Text(gbk::CutToBytes(value, kValueLimit));
}

// A default loses its trailing blanks, as the system's call strips them.
Text TrimTrailingBlanks(const Text& text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(0, end);
}

}  // namespace

Text ReadIniValue(const Text& file, const Text& section, const Text& key,
                  const Text& defaultValue) {
  Text path = SkipLeadingBlanks(file);
  Text sectionName = SkipLeadingBlanks(section);
  Text keyName = SkipLeadingBlanks(key);
  if (path.empty() || sectionName.empty() || keyName.empty()) return {};
  auto stored = profile::ReadStoredFile(path);
  auto value = profile::Lookup(stored.content.value_or(std::string{}), sectionName, keyName);
  return CutToLimit(value ? *value : TrimTrailingBlanks(defaultValue));
}

bool WriteIniValue(const Text& file, const Text& section, std::optional<Text> key,
                   std::optional<Text> value) {
  if (file.empty() || !StorableInProfile(section, key, value)) return false;
  // Refused even when nothing would change, as the system's call opens the file for writing
  // first.
  if (profile::IsReadOnlyFile(file)) return false;
  profile::WriterLock lock(file);
  // A file that exists but cannot be read is never replaced by one holding only this value.
  auto stored = profile::ReadStoredFile(file);
  if (stored.unreadable) return false;
  auto edited = profile::Edit(stored.content.value_or(std::string{}), section, key, value);
  if (!edited) return true;
  FileReplacement replacement(file);
  return replacement.Write(reinterpret_cast<const std::uint8_t*>(edited->data()), edited->size()) &&
         replacement.Commit();
}

}  // namespace kesto
