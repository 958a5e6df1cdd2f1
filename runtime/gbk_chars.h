// Walking GBK texts character by character: a byte of 0x80 or more leads a two-byte character,
// or a four-byte one (lead, digit, lead, digit: how GB18030 spells what GBK lacks, such as the
// o with a stroke of a Norwegian folder name), and no text operation may match or cut inside a
// character.
#pragma once

#include <cstddef>
#include <string_view>

namespace kesto::gbk {

inline bool IsLeadByte(unsigned char byte) {
  return byte >= 0x80;
}

inline bool IsDigitByte(char byte) {
  return byte >= '0' && byte <= '9';
}

// Length of the character that starts at `pos`: 4 for a four-byte sequence, 2 for another lead
// byte with a byte after it, else 1. The second byte of a two-byte GBK character is never a
// digit, so GBK texts step as they always did.
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (!IsLeadByte(static_cast<unsigned char>(text[pos])) || pos + 1 >= text.size()) return 1;
  if (pos + 3 < text.size() && IsDigitByte(text[pos + 1]) &&
      IsLeadByte(static_cast<unsigned char>(text[pos + 2])) && IsDigitByte(text[pos + 3])) {
    return 4;
  }
  return 2;
}

// The longest start of `text` of at most `limit` bytes that does not split a character.
inline std::string_view CutToBytes(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t length = CharLength(text, end);
    if (end + length > limit) break;
    end += length;
  }
  return text.substr(0, end);
}

inline unsigned char FoldAscii(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Whether `find` stands at `pos` of `text`, compared character by character so that a match
// always starts and ends on character boundaries. With ignoreCase only one-byte ASCII letters
// are folded; the bytes of a longer character always compare exactly.
inline bool MatchesAt(std::string_view text, std::size_t pos, std::string_view find,
                      bool ignoreCase) {
  if (text.size() - pos < find.size()) return false;
  std::size_t i = 0;
  while (i < find.size()) {
    std::size_t textLength = CharLength(text, pos + i);
    std::size_t findLength = CharLength(find, i);
    if (textLength != findLength) return false;
    if (findLength > 1) {
      if (text.compare(pos + i, findLength, find, i, findLength) != 0) return false;
    } else {
      unsigned char a = static_cast<unsigned char>(text[pos + i]);
      unsigned char b = static_cast<unsigned char>(find[i]);
      if (ignoreCase ? FoldAscii(a) != FoldAscii(b) : a != b) return false;
    }
    i += findLength;
  }
  return true;
}

}  // namespace kesto::gbk
