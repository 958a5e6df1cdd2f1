// Profile-file text: any content can be looked up and edited; an edited value reads back, and
// an edit changes at most the one line it is about.
#include "runtime/profile_text.h"

#include "fuzz/fuzz_check.h"

namespace {

using kesto::fuzz::InputReader;
namespace profile = kesto::profile;

bool IsUtf8Body(std::string_view content) {
  return content.substr(0, 3) == "\xEF\xBB\xBF";
}

// A name or value the file's lines can hold as it stands: whole GBK characters (ASCII only in a
// UTF-8 file), none of the bytes that shape a line, no blanks at either end, no quotes around.
bool Storable(const std::string& text, bool utf8, bool isName) {
  if (text.empty()) return !isName;
  if (text.front() == ' ' || text.back() == ' ' || !kesto::fuzz::IsWholeGbk(text)) return false;
  for (unsigned char c : text) {
    if ((utf8 && c >= 0x80) || c < 0x20 || c == 0x7F || c == '"' || c == '\'' || c == '[' ||
        c == ']' || (isName && c == '=')) {
      return false;
    }
  }
  return true;
}

// True when `before` became `after` by a change inside one line: the bytes that went away hold
// no line end.
bool OnlyOneLineChanged(const std::string& before, const std::string& after) {
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  return before.substr(prefix, before.size() - prefix - suffix).find_first_of("\r\n") ==
         std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const std::string section = input.Piece();
  const std::string key = input.Piece();
  const std::string value = input.Piece();
  const std::string content = input.Rest();

  profile::Lookup(content, section, key);
  profile::Edit(content, section, key, std::nullopt);
  profile::Edit(content, section, std::nullopt, std::nullopt);

  std::optional<std::string> edited = profile::Edit(content, section, key, value);
  const std::string& now = edited ? *edited : content;
  const bool utf8 = IsUtf8Body(content);
  if (Storable(section, utf8, true) && Storable(key, utf8, true) && Storable(value, utf8, false)) {
    FUZZ_CHECK(profile::Lookup(now, section, key) == value);
    FUZZ_CHECK(OnlyOneLineChanged(content, now));
    // Setting the same value again finds nothing to change.
    FUZZ_CHECK(!profile::Edit(now, section, key, value));
  }
  return 0;
}
