// The current directory, file existence, reading whole files and replacing them, through the
// W functions.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cwchar>

#include "runtime/core.h"
#include "runtime/win32/owned_handle.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

namespace {

win32::OwnedHandle OpenFile(const Text& path, DWORD access, DWORD share, DWORD disposition) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return nullptr;
  return win32::Own(CreateFileW(wide->c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

Text CurrentDirectory() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring buffer(size, L'\0');
  DWORD length = GetCurrentDirectoryW(size, buffer.data());
  if (length == 0 || length >= size) return {};
  buffer.resize(length);
  return win32::FromWide(buffer);
}

// A file search finds folders and wildcard patterns too.
bool FileExists(const Text& path) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return false;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(wide->c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// Writers are shut out, so a file another process is still writing reads as empty.
Bytes ReadFileBytes(const Text& path) {
  auto file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return {};
  Bytes content(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD read = 0;
    DWORD chunk = static_cast<DWORD>(content.size() - done);
    if (!ReadFile(file.get(), content.data() + done, chunk, &read, nullptr)) return {};
    if (read == 0) break;
    done += read;
  }
  content.resize(done);
  return content;
}

// The temporary name of a replacement: ".<name>.<process id>-<count>.tmp" beside the target.
struct FileReplacement::Native {
  std::wstring target;
  std::wstring temporary;  // empty once renamed into place
  win32::OwnedHandle file;
  bool ok = false;
};

namespace {

bool ProcessIsGone(DWORD id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process) CloseHandle(process);
  return !process && GetLastError() == ERROR_INVALID_PARAMETER;
}

// A writer killed in the middle of a replacement leaves its temporary file behind; the next
// writer of the same file removes those whose process is gone, and never a live writer's.
void RemoveStaleTemporaries(const std::wstring& folder, const std::wstring& prefix) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + prefix + L"*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring rest = std::wstring(found.cFileName).substr(prefix.size());
    wchar_t* end = nullptr;
    const unsigned long id = wcstoul(rest.c_str(), &end, 10);
    if (end != rest.c_str() && *end == L'-' && id != 0 && id != GetCurrentProcessId() &&
        ProcessIsGone(id)) {
      DeleteFileW((folder + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

FileReplacement::FileReplacement(const Text& path) : native_(std::make_unique<Native>()) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return;
  native_->target = *wide;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return;
  }
  const std::size_t slash = wide->find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : wide->substr(0, slash + 1);
  const std::wstring prefix = L"." + wide->substr(folder.size()) + L".";
  RemoveStaleTemporaries(folder, prefix);
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100 && !native_->file; ++attempt) {
    native_->temporary = folder + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(counter++) + L".tmp";
    native_->file = win32::Own(CreateFileW(native_->temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!native_->file && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  native_->ok = native_->file != nullptr;
  if (!native_->ok) native_->temporary.clear();
}

FileReplacement::~FileReplacement() {
  native_->file.reset();
  if (!native_->temporary.empty()) DeleteFileW(native_->temporary.c_str());
}

bool FileReplacement::Write(const std::uint8_t* data, std::size_t size) {
  while (native_->ok && size > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    native_->ok = WriteFile(native_->file.get(), data, chunk, &written, nullptr) && written > 0;
    data += written;
    size -= written;
  }
  return native_->ok;
}

// The bytes reach the disk before the name does, so a crash just after leaves a whole file. A
// reader that holds the file open without sharing its deletion (another program's profile call,
// for a moment) holds the rename back; it is tried again for up to a second.
bool FileReplacement::Commit() {
  if (!native_->file) return false;
  native_->ok = FlushFileBuffers(native_->file.get()) && native_->ok;
  native_->file.reset();
  for (int attempt = 1; native_->ok; ++attempt) {
    if (MoveFileExW(native_->temporary.c_str(), native_->target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      native_->temporary.clear();
      break;
    }
    const DWORD error = GetLastError();
    native_->ok =
        attempt < 40 && (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED);
    if (native_->ok) Sleep(25);
  }
  return native_->ok;
}

// Windows starts a program file by its content, whatever its name: an existing file will do.
bool MakeRunnable(const Text& path) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return false;
  DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace kesto
