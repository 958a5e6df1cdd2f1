// ReadIniValue and WriteIniValue on the system's own profile functions, with the names and
// values as they stand: the updater and the tools read and write the shared file through the
// same calls.
#include <windows.h>

#include "runtime/core.h"
#include "runtime/profile_guards.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

namespace {

// The value buffer holds 10239 bytes and the terminating zero.
constexpr DWORD kValueBuffer = 10240;

// The path in the system's ANSI code page, which is what the profile calls read it in; nothing
// when that code page cannot spell it exactly.
std::optional<std::string> ExactAnsi(const std::wstring& wide) {
  BOOL lossy = FALSE;
  int size = static_cast<int>(wide.size());
  int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                   nullptr, &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length, nullptr,
                      nullptr);
  return ansi;
}

std::wstring ShortPath(const std::wstring& path) {
  DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring shortPath(size, L'\0');
  DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
  shortPath.resize(length < size ? length : 0);
  return shortPath.empty() ? path : shortPath;
}

// The profile file's path for the A calls. A GBK path that the system's code page cannot spell
// (Chinese folder names on a Windows of another language) goes by its folder's short name, and
// by the file's own short name when the file exists.
std::optional<std::string> ProfilePath(const Text& path) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return std::nullopt;
  if (auto ansi = ExactAnsi(*wide)) return ansi;
  std::size_t slash = wide->rfind(L'\\');
  std::wstring folder = slash == std::wstring::npos ? L"." : wide->substr(0, slash);
  std::wstring name = slash == std::wstring::npos ? *wide : wide->substr(slash + 1);
  if (auto ansi = ExactAnsi(ShortPath(folder) + L"\\" + name)) return ansi;
  return ExactAnsi(ShortPath(*wide));
}

}  // namespace

Text ReadIniValue(const Text& file, const Text& section, const Text& key,
                  const Text& defaultValue) {
  Text sectionName = SkipLeadingBlanks(section);
  Text keyName = SkipLeadingBlanks(key);
  auto path = ProfilePath(SkipLeadingBlanks(file));
  if (!path || sectionName.empty() || keyName.empty()) return {};
  Text value(kValueBuffer, '\0');
  DWORD length =
      GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), defaultValue.c_str(),
                               value.data(), kValueBuffer, path->c_str());
  value.resize(length);
  return value;
}

bool WriteIniValue(const Text& file, const Text& section, std::optional<Text> key,
                   std::optional<Text> value) {
  auto path = ProfilePath(file);
  if (!path || !StorableInProfile(section, key, value)) return false;
  return WritePrivateProfileStringA(section.c_str(), key ? key->c_str() : nullptr,
                                    value ? value->c_str() : nullptr, path->c_str()) != FALSE;
}

}  // namespace kesto
