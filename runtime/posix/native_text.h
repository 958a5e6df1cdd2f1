// The edge between the program's texts (GBK bytes, Windows paths with "\") and the POSIX
// world (UTF-8, "/"). Back-end code converts here and nowhere else.
#pragma once

#include <optional>
#include <string>

#include "runtime/core.h"

namespace kesto::posix {

// Lossy conversions for display and transport: a byte sequence that is not GBK becomes U+FFFD;
// a character GBK cannot hold becomes "?".
std::string GbkToUtf8(const Text& text);
Text Utf8ToGbk(const std::string& utf8);

// Exact conversions: nothing when the input is not valid in its encoding or cannot be held
// by the other one.
std::optional<std::string> GbkToUtf8Exact(const Text& text);
std::optional<Text> Utf8ToGbkExact(const std::string& utf8);

// "\home\u\kesto" <-> "/home/u/kesto". A path that is not valid GBK names no file: nothing.
std::optional<std::string> ToNativePath(const Text& path);
// A name the file system holds that GBK cannot spell gets "?" for each such character, as the
// ANSI file functions of Windows report it.
Text FromNativePath(const std::string& path);

}  // namespace kesto::posix
