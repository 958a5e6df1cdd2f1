#include "tests/runtime/win32/gui/window_program.h"

#include <filesystem>
#include <fstream>

#include "runtime/win32/wide_text.h"
#include "tests/runtime/win32/gui/gui_support.h"

namespace kesto::testing {

WindowProgram::WindowProgram(const std::string& program, const std::wstring& arguments) {
  static int serial = 0;
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  handleFile_ = std::wstring(folder) + L"kesto-peer-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++serial);
  DeleteFileW(handleFile_.c_str());
  std::wstring line = L"\"" + win32::ToWide(program) + L"\" \"" + handleFile_ + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started_)) {
    return;
  }
  PumpUntil(
      [&] {
        std::ifstream in{std::filesystem::path(handleFile_)};
        long long value = 0;
        if (!(in >> value)) return false;
        window_ = native::Handle(value);
        return true;
      },
      20000);
  PumpUntil([&] { return IsWindowVisible(reinterpret_cast<HWND>(window_)) != FALSE; }, 5000);
  Pump(500);  // the window manager places it
}

WindowProgram::~WindowProgram() {
  const HANDLE process = started_.hProcess;
  if (process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 9);
  if (process) CloseHandle(process);
  if (started_.hThread) CloseHandle(started_.hThread);
  DeleteFileW(handleFile_.c_str());
}

bool WindowProgram::Ended(int timeoutMs, int& exitCode) {
  const HANDLE process = started_.hProcess;
  const bool ended =
      PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs);
  DWORD code = DWORD(-1);
  if (ended) GetExitCodeProcess(process, &code);
  exitCode = ended ? int(code) : -1;
  return ended;
}

}  // namespace kesto::testing
