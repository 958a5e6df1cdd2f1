// The edge between the program's texts (GBK bytes) and the Windows W functions (UTF-16).
// Code page 936 is named explicitly, so the conversions do not depend on the system's ANSI
// code page. Back-end code converts here and nowhere else.
#pragma once

#include <optional>
#include <string>

#include "runtime/core.h"

namespace kesto::win32 {

// Exact: nothing when the text is not valid GBK. File names, command lines.
std::optional<std::wstring> ToWideExact(const Text& text);

// A path for the file functions: nothing for the empty path or one that is not valid GBK.
std::optional<std::wstring> ToWidePath(const Text& path);

// Lossy, for display: a byte sequence that is not GBK becomes U+FFFD.
std::wstring ToWide(const Text& text);

// A character GBK cannot hold becomes "?", as the ANSI functions of Windows report it.
Text FromWide(const std::wstring& wide);

// A path as the program's texts can hold it, for the program to build further paths on: where
// a name in it has a character GBK cannot hold (C:\Users\Björn), the path's short form, when
// the volume keeps short names; otherwise as FromWide gives it.
Text FromWidePath(const std::wstring& path);

}  // namespace kesto::win32
