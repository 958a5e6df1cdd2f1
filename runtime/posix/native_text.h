// The edge between the program's texts (GBK bytes, with GB18030's four-byte sequences for the
// characters GBK lacks; Windows paths with "\") and the POSIX world (UTF-8, "/"). Back-end code
// converts here and nowhere else.
#pragma once

#include <optional>
#include <string>

#include "runtime/core.h"

namespace kesto::posix {

// Lossy conversions for display and transport: a byte sequence that is not GB18030 becomes
// U+FFFD; a byte sequence that is not UTF-8 becomes "?".
std::string GbkToUtf8(const Text& text);
Text Utf8ToGbk(const std::string& utf8);

// Exact conversions: nothing when the input is not valid in its encoding.
std::optional<std::string> GbkToUtf8Exact(const Text& text);
std::optional<Text> Utf8ToGbkExact(const std::string& utf8);

// The texts of the files the tools share keep to GBK itself: a character GBK lacks is read as
// "?", as the system's profile calls read it, and the exact form refuses it.
Text Utf8ToCodePage936(const std::string& utf8);
std::optional<Text> Utf8ToCodePage936Exact(const std::string& utf8);

// "\home\u\kesto" <-> "/home/u/kesto", in any script. A path that is not valid GB18030 names
// no file: nothing.
std::optional<std::string> ToNativePath(const Text& path);
// Only a name that is not UTF-8 (bytes of another system's code page) comes back with a "?"
// for each byte that is not.
Text FromNativePath(const std::string& path);

}  // namespace kesto::posix
