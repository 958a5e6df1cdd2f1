// Text operations on GBK bytes: searches report positions in range on character boundaries,
// replacing agrees with searching, splitting and trimming never cut a two-byte character, and
// slices take exactly the bytes asked for.
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "runtime/core.h"
#include "runtime/gbk_chars.h"

namespace {

using kesto::Text;
using kesto::fuzz::InputReader;

// True when `pos` starts a character of `text` (or is its end).
bool OnBoundary(std::string_view text, std::size_t pos) {
  std::size_t at = 0;
  while (at < pos) at += kesto::gbk::CharLength(text, at);
  return at == pos;
}

// True when `part` stands in `text` at the start of one of its characters.
bool StartsOnABoundary(std::string_view text, std::string_view part) {
  for (std::size_t pos = 0; pos < text.size(); pos += kesto::gbk::CharLength(text, pos)) {
    if (text.substr(pos, part.size()) == part) return true;
  }
  return false;
}

void CheckSearches(const Text& text, const Text& find, int start, bool ignoreCase) {
  int found = kesto::FindText(text, find, start, ignoreCase);
  if (found != -1) {
    FUZZ_CHECK(found >= 1 && static_cast<std::size_t>(found) <= text.size());
    FUZZ_CHECK(find.empty() || found >= start);
    FUZZ_CHECK(kesto::gbk::MatchesAt(text, found - 1, find, ignoreCase));
    if (start <= 1) FUZZ_CHECK(OnBoundary(text, found - 1));
  }
  int last = kesto::FindLastText(text, find, {}, ignoreCase);
  FUZZ_CHECK((last == -1) == (kesto::FindText(text, find, {}, ignoreCase) == -1));
  if (last != -1 && !find.empty()) {
    FUZZ_CHECK(OnBoundary(text, last - 1));
    FUZZ_CHECK(static_cast<std::size_t>(last - 1) + find.size() <= text.size());
    FUZZ_CHECK(last >= kesto::FindText(text, find, {}, ignoreCase));
  }
  int lastBefore = kesto::FindLastText(text, find, start, ignoreCase);
  if (lastBefore != -1 && !find.empty()) {
    FUZZ_CHECK(lastBefore - 1 + static_cast<int>(find.size()) <= start - 1);
  }
}

void CheckReplace(const Text& text, const Text& find, const Text& replacement, int start,
                  bool ignoreCase) {
  // One replacement is the first match cut out and the replacement put in.
  Text once = kesto::ReplaceText(text, find, replacement, start, 1, !ignoreCase);
  int found = find.empty() ? -1 : kesto::FindText(text, find, start, ignoreCase);
  if (found == -1) {
    FUZZ_CHECK(once == text);
  } else {
    FUZZ_CHECK(once ==
               text.substr(0, found - 1) + replacement + text.substr(found - 1 + find.size()));
  }
  // Replacing every exact match by itself changes nothing.
  FUZZ_CHECK(kesto::ReplaceText(text, find, find, start) == text);
}

void CheckSplit(const Text& text, const Text& separator) {
  kesto::Array<Text> parts = kesto::SplitText(text, separator);
  std::size_t at = 0;
  for (const Text& part : parts) {
    FUZZ_CHECK(OnBoundary(text, at));
    FUZZ_CHECK(text.compare(at, part.size(), part) == 0);
    at += part.size();
    if (at < text.size()) {
      FUZZ_CHECK(text.compare(at, separator.size(), separator) == 0);
      at += separator.size();
    }
  }
  // Only a last empty part is left out.
  FUZZ_CHECK(at == text.size() || (separator.empty() && text.empty()));
}

void CheckTrimAndCase(const Text& text) {
  Text trimmed = kesto::TrimBoth(text);
  FUZZ_CHECK(trimmed.empty() || StartsOnABoundary(text, trimmed));
  FUZZ_CHECK(kesto::TrimBoth(trimmed) == trimmed);
  Text spaceless = kesto::RemoveSpaces(text);
  FUZZ_CHECK(spaceless.size() <= text.size() && kesto::RemoveSpaces(spaceless) == spaceless);
  Text lower = kesto::ToLower(text);
  FUZZ_CHECK(lower.size() == text.size());
  for (std::size_t pos = 0; pos < text.size(); pos += kesto::gbk::CharLength(text, pos)) {
    bool letter = text[pos] >= 'A' && text[pos] <= 'Z' && kesto::gbk::CharLength(text, pos) == 1;
    FUZZ_CHECK(lower[pos] == (letter ? text[pos] - 'A' + 'a' : text[pos]));
  }
}

void CheckSlices(const Text& text, int n, int start) {
  std::size_t count = n <= 0 ? 0 : std::min<std::size_t>(n, text.size());
  FUZZ_CHECK(kesto::LeftText(text, n) == text.substr(0, count));
  FUZZ_CHECK(kesto::RightText(text, n) == text.substr(text.size() - count));
  Text middle = kesto::MidText(text, start, n);
  if (start >= 1 && static_cast<std::size_t>(start) <= text.size() && n > 0) {
    FUZZ_CHECK(middle == text.substr(start - 1, n));
  } else {
    FUZZ_CHECK(middle.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const bool ignoreCase = input.Byte() & 1;
  // Positions from -8 to 247 reach before, inside and past most texts.
  const int start = static_cast<int>(input.Byte()) - 8;
  const int n = static_cast<int>(input.Byte()) - 8;
  const Text find = input.Piece();
  const Text replacement = input.Piece();
  const Text text = input.Piece();

  CheckSearches(text, find, start, ignoreCase);
  CheckReplace(text, find, replacement, start, ignoreCase);
  CheckSplit(text, find);
  CheckTrimAndCase(text);
  CheckSlices(text, n, start);
  return 0;
}
