// RunCommand on CreateProcessW: the system finds the program word itself, and a program file
// of any extension (such as up.qmz) starts by its content.
#include <windows.h>

#include "runtime/core.h"
#include "runtime/win32/command_start.h"
#include "runtime/win32/owned_handle.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

namespace {

// Show modes 1 to 6 name these show commands; out-of-range modes take the nearest end.
WORD ShowCommandFor(int showMode) {
  constexpr WORD kCommands[] = {SW_HIDE,          SW_SHOWNORMAL,     SW_SHOWMINIMIZED,
                                SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE};
  int index = showMode < 1 ? 1 : showMode > 6 ? 6 : showMode;
  return kCommands[index - 1];
}

}  // namespace

bool win32::StartCommandLine(const Text& commandLine, std::optional<int> showMode,
                             PROCESS_INFORMATION& started) {
  auto line = win32::ToWideExact(commandLine);
  if (!line || line->empty()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = ShowCommandFor(showMode.value_or(2));
  started = {};
  // CreateProcessW may write into the command line it is given.
  if (!CreateProcessW(nullptr, line->data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return false;
  }
  // A program started from the platform's window (through the updater, which passes it on) may
  // bring its own window to the front; without this it may open behind the others.
  AllowSetForegroundWindow(started.dwProcessId);
  return true;
}

bool RunCommand(const Text& commandLine, bool wait, std::optional<int> showMode) {
  PROCESS_INFORMATION started{};
  if (!win32::StartCommandLine(commandLine, showMode, started)) return false;
  win32::OwnedHandle process(started.hProcess), thread(started.hThread);
  if (wait) {
    WaitForSingleObject(process.get(), INFINITE);
  } else {
    WaitForInputIdle(process.get(), 1000);
  }
  return true;
}

}  // namespace kesto
