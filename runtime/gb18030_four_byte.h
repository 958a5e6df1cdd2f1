// GB18030's four-byte sequences, which spell every character GBK's two-byte table lacks: the
// rest of the Basic Multilingual Plane (81 30 81 30 to 84 31 A4 39) and the planes above it
// (90 30 81 30 on). The Windows back end pairs them with code page 936 for the two-byte part,
// so that it needs no system support for GB18030.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kesto::gb18030 {

// The character the four bytes at the start of `bytes` spell; nothing for bytes that spell no
// character.
std::optional<char32_t> DecodeFourBytes(std::string_view bytes);

// The four-byte spelling of a character; nothing for ASCII, for a character of GBK's two-byte
// table and for a surrogate or a value beyond Unicode.
std::optional<std::string> EncodeFourBytes(char32_t character);

}  // namespace kesto::gb18030
