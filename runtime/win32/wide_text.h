// The edge between the program's texts (GBK bytes, with GB18030's four-byte sequences for the
// characters GBK lacks) and the Windows W functions (UTF-16). The two-byte part goes through
// code page 936, named explicitly, so the conversions do not depend on the system's ANSI code
// page; the four-byte part needs nothing from the system. Back-end code converts here and
// nowhere else.
#pragma once

#include <optional>
#include <string>

#include "runtime/core.h"

namespace kesto::win32 {

// Exact: nothing when the text is not valid GB18030. File names, command lines.
std::optional<std::wstring> ToWideExact(const Text& text);

// A path for the file functions: nothing for the empty path or one that is not valid GB18030.
// A path too long for the plain form gets the "\\?\" form, which the W functions take up to
// 32767 characters.
std::optional<std::wstring> ToWidePath(const Text& path);
// A folder whose whole tree is walked: always the "\\?\" form, which the paths built below it
// keep, however long they grow.
std::optional<std::wstring> ToWideTreePath(const Text& path);

// The full path in its plain form (a drive letter or a share first); nothing when Windows
// cannot make one.
std::optional<std::wstring> FullPathName(const std::wstring& path);

// Lossy, for display: a byte sequence that is not GB18030 becomes U+FFFD.
std::wstring ToWide(const Text& text);

// Every name Windows holds, in any script; only a lone surrogate half becomes "?".
Text FromWide(const std::wstring& wide);

// GBK itself, for the texts of the files the tools share and of pages: "?" for a character
// GBK lacks.
Text FromWideCodePage936(const std::wstring& wide);

}  // namespace kesto::win32
