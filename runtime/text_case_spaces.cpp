// Removing spaces and folding letters. A space is the byte 0x20 or the full-width space A1 A1.
#include "runtime/core.h"
#include "runtime/gbk_chars.h"

namespace kesto {

namespace {
bool IsSpaceAt(const Text& text, std::size_t pos, std::size_t length) {
  if (length == 1) return text[pos] == ' ';
  return length == 2 && static_cast<unsigned char>(text[pos]) == 0xA1 &&
         static_cast<unsigned char>(text[pos + 1]) == 0xA1;
}
}  // namespace

Text TrimBoth(const Text& text) {
  // Walk forward: the end of the last non-space character is only known on character bounds.
  std::size_t first = text.size();
  std::size_t end = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = gbk::CharLength(text, pos);
    if (!IsSpaceAt(text, pos, length)) {
      if (first == text.size()) first = pos;
      end = pos + length;
    }
    pos += length;
  }
  return first < end ? text.substr(first, end - first) : Text{};
}

Text RemoveSpaces(const Text& text) {
  Text result;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = gbk::CharLength(text, pos);
    if (!IsSpaceAt(text, pos, length)) result.append(text, pos, length);
    pos += length;
  }
  return result;
}

Text ToLower(const Text& text) {
  Text result = text;
  for (std::size_t pos = 0; pos < result.size();) {
    std::size_t length = gbk::CharLength(result, pos);
    if (length == 1) result[pos] = static_cast<char>(gbk::FoldAscii(result[pos]));
    pos += length;
  }
  return result;
}

}  // namespace kesto
