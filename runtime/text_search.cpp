// Searching and replacing inside texts, one character at a time so that a two-byte character
// is never matched or cut inside.
#include "runtime/core.h"
#include "runtime/gbk_chars.h"

namespace kesto {

namespace {
// Offset where a forward scan begins: start-1, or 0 when start is omitted or below 1.
std::size_t ForwardOffset(std::optional<int> start) {
  return start && *start >= 1 ? static_cast<std::size_t>(*start - 1) : 0;
}
}  // namespace

int FindText(const Text& text, const Text& find, std::optional<int> start, bool ignoreCase) {
  std::size_t offset = ForwardOffset(start);
  if (offset >= text.size()) return -1;
  if (find.empty()) return 1;
  for (std::size_t pos = offset; text.size() - pos >= find.size();
       pos += gbk::CharLength(text, pos)) {
    if (gbk::MatchesAt(text, pos, find, ignoreCase)) return static_cast<int>(pos + 1);
  }
  return -1;
}

int FindLastText(const Text& text, const Text& find, std::optional<int> start, bool ignoreCase) {
  std::string_view searched = text;
  if (start) {
    if (*start <= 1) return -1;
    searched = searched.substr(0, static_cast<std::size_t>(*start - 1));
  }
  if (searched.empty()) return -1;
  if (find.empty()) return 1;
  int last = -1;
  // One ASCII byte, the common case (path separators, extension dots), is one compare a
  // character.
  if (find.size() == 1 && !gbk::IsLeadByte(static_cast<unsigned char>(find[0])) && !ignoreCase) {
    for (std::size_t pos = 0; pos < searched.size(); pos += gbk::CharLength(searched, pos)) {
      if (searched[pos] == find[0]) last = static_cast<int>(pos + 1);
    }
    return last;
  }
  for (std::size_t pos = 0; searched.size() - pos >= find.size();
       pos += gbk::CharLength(searched, pos)) {
    if (gbk::MatchesAt(searched, pos, find, ignoreCase)) last = static_cast<int>(pos + 1);
  }
  return last;
}

Text ReplaceText(const Text& text, const Text& find, const Text& replacement,
                 std::optional<int> start, std::optional<int> count, bool caseSensitive) {
  std::size_t offset = ForwardOffset(start);
  // A negative count replaces nothing, like a count of 0.
  if (text.empty() || find.empty() || offset >= text.size() || (count && *count <= 0)) {
    return text;
  }
  int remaining = count.value_or(0);
  Text result = text.substr(0, offset);
  std::size_t pos = offset;
  while (text.size() - pos >= find.size()) {
    if (gbk::MatchesAt(text, pos, find, !caseSensitive)) {
      result += replacement;
      pos += find.size();
      if (count && --remaining == 0) break;
    } else {
      std::size_t length = gbk::CharLength(text, pos);
      result.append(text, pos, length);
      pos += length;
    }
  }
  result.append(text, pos);
  return result;
}

}  // namespace kesto
