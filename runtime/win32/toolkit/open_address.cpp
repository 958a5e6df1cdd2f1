#include "runtime/win32/toolkit/open_address.h"

#include <windows.h>
// The shell is declared in the types of windows.h.
#include <shellapi.h>

#include "runtime/toolkit_front/page_addresses.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

// The default value of a key of HKEY_CLASSES_ROOT; empty when there is none.
Text ClassesValue(const Text& key) {
  std::optional<std::wstring> name = ToWideExact(key);
  if (!name) return {};
  wchar_t value[1024] = {};
  LONG size = sizeof value;
  if (RegQueryValueW(HKEY_CLASSES_ROOT, name->c_str(), value, &size) != ERROR_SUCCESS) return {};
  return FromWide(value);
}

bool RunCommandLine(const Text& commandLine) {
  std::optional<std::wstring> wide = ToWideExact(commandLine);
  if (!wide) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, wide->data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace

Text BrowserCommandLine(const Text& openCommand, const Text& address) {
  std::size_t cut = openCommand.find("\"%1\"");
  if (cut == Text::npos) cut = openCommand.find("%1");
  return openCommand.substr(0, cut) + " " + address;
}

bool OpenInDefaultBrowser(const Text& address) {
  const Text allowed = front::DesktopAddress(address);
  if (allowed.empty()) return false;
  const std::wstring wide = ToWide(allowed);
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOW));
  if (opened > 32) return true;
  const Text fileType = ClassesValue(".htm");
  if (fileType.empty()) return false;
  const Text command = ClassesValue(fileType + "\\shell\\open\\command");
  if (command.empty()) return false;
  return RunCommandLine(BrowserCommandLine(command, allowed));
}

}  // namespace kesto::win32
