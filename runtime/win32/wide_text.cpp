// GBK <-> UTF-16 with the system's own code page 936 tables.
#include "runtime/win32/wide_text.h"

#include <windows.h>

namespace kesto::win32 {

namespace {

constexpr UINT kGbk = 936;

std::optional<std::wstring> Convert(const Text& text, DWORD flags) {
  if (text.empty()) return std::wstring{};
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(kGbk, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kGbk, flags, text.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::optional<std::wstring> ToWideExact(const Text& text) {
  return Convert(text, MB_ERR_INVALID_CHARS);
}

std::optional<std::wstring> ToWidePath(const Text& path) {
  if (path.empty()) return std::nullopt;
  return ToWideExact(path);
}

std::wstring ToWide(const Text& text) {
  return Convert(text, 0).value_or(std::wstring{});
}

Text FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  int size = static_cast<int>(wide.size());
  int length = WideCharToMultiByte(kGbk, 0, wide.data(), size, nullptr, 0, "?", nullptr);
  if (length <= 0) return {};
  Text text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbk, 0, wide.data(), size, text.data(), length, "?", nullptr);
  return text;
}

namespace {

// Nothing when a character has no GBK form of its own (a near one, such as o for ö, would name
// another file).
std::optional<Text> FromWideExact(const std::wstring& wide) {
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

}  // namespace

Text FromWidePath(const std::wstring& path) {
  if (path.empty()) return {};
  if (auto exact = FromWideExact(path)) return *exact;
  std::wstring shortPath(GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), DWORD(shortPath.size()));
  if (length > 0 && length < shortPath.size()) {
    shortPath.resize(length);
    if (auto exact = FromWideExact(shortPath)) return *exact;
  }
  return FromWide(path);
}

}  // namespace kesto::win32
