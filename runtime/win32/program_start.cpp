// RuntimeStart on Windows: the program's own path from GetModuleFileNameW (or the file a test
// names), its folder made the current directory, and the command line as the system gives it.
#include <windows.h>

#include "runtime/command_line.h"
#include "runtime/core.h"
#include "runtime/program_file.h"
#include "runtime/toolkit.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring ProgramFile() {
  Text path = ProgramFileOverride();
  return path.empty() ? ModulePath() : win32::ToWidePath(path).value_or(std::wstring{});
}

}  // namespace

void RuntimeStart(int argc, char** argv) {
  std::wstring path = ProgramFile();
  std::size_t slash = path.rfind(L'\\');
  if (slash != std::wstring::npos) {
    RememberProgramFileName(win32::FromWide(path.substr(slash + 1)));
    // A drive's root needs its backslash: "C:" alone names the drive's current folder.
    std::wstring folder = path.substr(0, slash == 2 ? 3 : slash);
    SetCurrentDirectoryW(folder.c_str());
  }
  toolkit::Start(argc, argv);
}

Text ProcessCommandLine() {
  return win32::FromWide(GetCommandLineW());
}

}  // namespace kesto
