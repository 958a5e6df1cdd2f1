// GB18030 <-> UTF-16: runs of one- and two-byte characters with the system's own code page 936
// tables, the four-byte sequences by their own rule.
#include "runtime/win32/wide_text.h"

#include <windows.h>

#include <string_view>

#include "runtime/gb18030_four_byte.h"
#include "runtime/gbk_chars.h"

namespace kesto::win32 {

namespace {

constexpr UINT kGbk = 936;
// CreateDirectoryW's limit, the lowest of the plain path forms (MAX_PATH less an 8.3 name).
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;

bool AppendGbkRun(std::string_view run, DWORD flags, std::wstring& wide) {
  if (run.empty()) return true;
  const int size = static_cast<int>(run.size());
  const int length = MultiByteToWideChar(kGbk, flags, run.data(), size, nullptr, 0);
  if (length <= 0) return false;
  const std::size_t at = wide.size();
  wide.resize(at + static_cast<std::size_t>(length));
  MultiByteToWideChar(kGbk, flags, run.data(), size, wide.data() + at, length);
  return true;
}

void AppendCharacter(char32_t character, std::wstring& wide) {
  if (character < 0x10000) {
    wide += static_cast<wchar_t>(character);
    return;
  }
  character -= 0x10000;
  wide += static_cast<wchar_t>(0xD800 + (character >> 10));
  wide += static_cast<wchar_t>(0xDC00 + (character & 0x3FF));
}

// With `exact`, nothing at the first byte sequence that spells no character; without, each
// such sequence becomes U+FFFD.
std::optional<std::wstring> Convert(std::string_view text, bool exact) {
  std::wstring wide;
  const DWORD flags = exact ? MB_ERR_INVALID_CHARS : 0;
  std::size_t runStart = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t length = gbk::CharLength(text, pos);
    if (length != 4) {
      pos += length;
      continue;
    }
    if (!AppendGbkRun(text.substr(runStart, pos - runStart), flags, wide)) return std::nullopt;
    const auto character = gb18030::DecodeFourBytes(text.substr(pos, 4));
    if (!character && exact) return std::nullopt;
    AppendCharacter(character.value_or(0xFFFD), wide);
    pos += 4;
    runStart = pos;
  }
  if (!AppendGbkRun(text.substr(runStart), flags, wide)) return std::nullopt;
  return wide;
}

// Nothing when a character has no GBK form of its own (a near one, such as o for ö, would name
// another file).
std::optional<Text> ToGbkExact(std::wstring_view wide) {
  const int size = static_cast<int>(wide.size());
  BOOL lost = FALSE;
  const int length =
      WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, "?", &lost);
  if (length <= 0 || lost) return std::nullopt;
  Text text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, text.data(), length, "?",
                      nullptr);
  return text;
}

bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// One character at a time: its GBK bytes where it has them, else its four-byte sequence.
Text ToGb18030(const std::wstring& wide) {
  Text text;
  for (std::size_t i = 0; i < wide.size();) {
    std::size_t units = 1;
    char32_t character = wide[i];
    if (IsHighSurrogate(wide[i]) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1])) {
      units = 2;
      character = 0x10000 + ((character - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
    }
    if (auto gbk = ToGbkExact(std::wstring_view(wide).substr(i, units))) {
      text += *gbk;
    } else {
      text += gb18030::EncodeFourBytes(character).value_or("?");
    }
    i += units;
  }
  return text;
}

bool IsLongPathForm(const std::wstring& path) {
  return path.rfind(L"\\\\?\\", 0) == 0;
}

std::wstring LongPathForm(const std::wstring& path) {
  const std::optional<std::wstring> full = FullPathName(path);
  if (!full) return path;
  if (full->rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full->substr(2);
  return L"\\\\?\\" + *full;
}

}  // namespace

std::optional<std::wstring> FullPathName(const std::wstring& path) {
  std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return std::nullopt;
  full.resize(length);
  return full;
}

std::optional<std::wstring> ToWideExact(const Text& text) {
  return Convert(text, true);
}

std::optional<std::wstring> ToWidePath(const Text& path) {
  if (path.empty()) return std::nullopt;
  auto wide = ToWideExact(path);
  if (wide && wide->size() >= kPlainPathLimit && !IsLongPathForm(*wide)) {
    *wide = LongPathForm(*wide);
  }
  return wide;
}

std::optional<std::wstring> ToWideTreePath(const Text& path) {
  auto wide = ToWidePath(path);
  if (wide && !IsLongPathForm(*wide)) *wide = LongPathForm(*wide);
  return wide;
}

std::wstring ToWide(const Text& text) {
  return Convert(text, false).value_or(std::wstring{});
}

Text FromWide(const std::wstring& wide) {
  if (auto gbk = ToGbkExact(wide)) return *gbk;
  return ToGb18030(wide);
}

Text FromWideCodePage936(const std::wstring& wide) {
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(kGbk, 0, wide.data(), size, nullptr, 0, "?", nullptr);
  if (length <= 0) return {};
  Text text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbk, 0, wide.data(), size, text.data(), length, "?", nullptr);
  return text;
}

}  // namespace kesto::win32
