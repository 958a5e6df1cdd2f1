// Running programs created suspended: the process and its image exist, which is all the
// window-owner checks look at, and it never runs, so any program file will do.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "tests/program/running_program.h"

namespace kesto::testing {

namespace {

std::filesystem::path ThisProgramFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

// The handle is the process's handle.
std::intptr_t StartedSuspended(const std::filesystem::path& file, std::uint32_t& pid) {
  std::wstring line = L"\"" + file.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &startup, &started)) {
    throw std::runtime_error("cannot start " + file.string());
  }
  CloseHandle(started.hThread);
  pid = started.dwProcessId;
  return reinterpret_cast<std::intptr_t>(started.hProcess);
}

}  // namespace

RunningProgram RunningProgram::CopyRunAs(const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  std::filesystem::copy_file(ThisProgramFile(), file,
                             std::filesystem::copy_options::overwrite_existing);
  std::uint32_t pid = 0;
  std::intptr_t handle = StartedSuspended(file, pid);
  return RunningProgram(pid, handle);
}

RunningProgram RunningProgram::ThisProgram() {
  std::uint32_t pid = 0;
  std::intptr_t handle = StartedSuspended(ThisProgramFile(), pid);
  return RunningProgram(pid, handle);
}

RunningProgram::~RunningProgram() {
  if (handle_ == 0) return;
  HANDLE process = reinterpret_cast<HANDLE>(handle_);
  TerminateProcess(process, 1);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
}

}  // namespace kesto::testing
