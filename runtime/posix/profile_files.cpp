// ReadIniValue and WriteIniValue on profile files. A read takes the file as it stands; a write
// replaces it whole, its read-modify-write locked against other writers in any process.
#include "runtime/core.h"
#include "runtime/gbk_chars.h"
#include "runtime/posix/native_text.h"
#include "runtime/posix/profile_text.h"
#include "runtime/posix/whole_file.h"
#include "runtime/posix/writer_lock.h"
#include "runtime/profile_guards.h"

namespace kesto {

namespace {

// The value buffer of the Windows call holds 10239 bytes and its end; a two-byte character
// that would not fit whole is left out.
constexpr std::size_t kValueLimit = 10239;

Text CutToLimit(const Text& value) {
  return Text(gbk::CutToBytes(value, kValueLimit));
}

// A default loses its trailing blanks, as the Windows call strips them.
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
  auto native = posix::ToNativePath(path);
  auto read = native ? posix::ReadWholeFile(*native) : posix::ReadResult{};
  auto value = posix::profile::Lookup(read.content.value_or(std::string{}), sectionName, keyName);
  return CutToLimit(value ? *value : TrimTrailingBlanks(defaultValue));
}

bool WriteIniValue(const Text& file, const Text& section, std::optional<Text> key,
                   std::optional<Text> value) {
  auto native = posix::ToNativePath(file);
  if (file.empty() || !native || !StorableInProfile(section, key, value)) return false;
  // Refused even when nothing would change, as the Windows call opens the file for writing first.
  if (posix::IsReadOnly(*native)) return false;
  posix::WriterLock lock(*native);
  // A file that exists but cannot be read is never replaced by one holding only this value.
  auto read = posix::ReadWholeFile(*native);
  if (!read.content && read.error == posix::ReadError::kUnreadable) return false;
  auto edited = posix::profile::Edit(read.content.value_or(std::string{}), section, key, value);
  return !edited || posix::WriteWholeFile(*native, {*edited});
}

}  // namespace kesto
