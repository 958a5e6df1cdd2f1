// The browser emulation setting for this program, per user.
#include <windows.h>

#include <string>

#include "runtime/win32/toolkit/browser/host.h"

namespace kesto::win32 {

namespace {

constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
// The newest document mode ("edge"), whatever DOCTYPE the page has.
constexpr DWORD kNewestMode = 11001;

// The file name of the running program, such as kesto.exe; empty when it cannot be read.
std::wstring ProgramFileName() {
  // The longest path the system has.
  std::wstring path(32768, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

void UseNewestDocumentMode() {
  std::wstring program = ProgramFileName();
  if (program.empty()) return;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD mode = kNewestMode;
  RegSetValueExW(key, program.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                 sizeof mode);
  RegCloseKey(key);
}

}  // namespace kesto::win32
