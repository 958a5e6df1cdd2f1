// The user's files and arguments through the W functions: UTF-8 at the tool's side, UTF-16 at
// the system's.
#include "runtime/user_files.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include "runtime/win32/owned_handle.h"

namespace kesto {
namespace {

std::wstring Wide(const std::string& utf8) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Utf8(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

std::string Describe(const std::string& what, const std::string& path) {
  const DWORD code = GetLastError();
  wchar_t* message = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string reason = message ? Utf8(message) : "error " + std::to_string(code);
  if (message) LocalFree(message);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  return what + " " + path + ": " + reason;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

bool WriteAll(HANDLE file, const Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

std::vector<std::string> UserArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(Utf8(wide[i]));
  if (wide) LocalFree(wide);
  return args;
}

bool ReadUserFile(const std::string& path, Bytes& out, std::string& error) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error = path + " is a directory";
    return false;
  }
  win32::OwnedHandle file =
      win32::Own(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = Describe("cannot open", path);
    return false;
  }
  out.clear();
  std::uint8_t buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
      error = Describe("cannot read", path);
      return false;
    }
    if (read == 0) break;
    out.insert(out.end(), buffer, buffer + read);
  }
  return true;
}

bool ReplaceUserFile(const std::string& path, const Bytes& bytes, std::string& error) {
  const std::string temporary =
      FolderOf(path) + ".regtool-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  const std::wstring wideTemporary = Wide(temporary);
  bool written;
  {
    win32::OwnedHandle file =
        win32::Own(CreateFileW(wideTemporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      error = Describe("cannot create a temporary file in", FolderOf(path));
      return false;
    }
    written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
    if (!written) error = Describe("cannot write", temporary);
  }
  if (!written) {
    DeleteFileW(wideTemporary.c_str());
    return false;
  }
  if (!MoveFileExW(wideTemporary.c_str(), Wide(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = Describe("cannot replace", path);
    DeleteFileW(wideTemporary.c_str());
    return false;
  }
  return true;
}

}  // namespace kesto
