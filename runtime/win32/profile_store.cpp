// The profile files' store on Windows, through the W functions with GBK converted by code page
// 936 itself: nothing goes through the system's ANSI code page, which on a Windows set to
// another (UTF-8, 950, 1252) would alter GBK names and values. The writer lock is a lock on a
// companion file, ".<name>.lock" beside the file, as on POSIX: every write renames a new file
// over the old one, so a lock on the file itself would guard a file no longer in place.
#include "runtime/profile_store.h"

#include <windows.h>

#include "runtime/win32/owned_handle.h"
#include "runtime/win32/wide_text.h"

namespace kesto::profile {

StoredFile ReadStoredFile(const Text& path) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return StoredFile{std::nullopt, true};
  // Open beside the system's profile calls of other programs, which share reading and writing.
  auto file = win32::Own(CreateFileW(wide->c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    return StoredFile{std::nullopt, error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND};
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
      return StoredFile{std::nullopt, true};
    }
    if (read == 0) return StoredFile{std::move(content), false};
    content.append(buffer, read);
  }
}

bool IsReadOnlyFile(const Text& path) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return false;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Without a lock file (a folder that cannot be written) the write goes ahead unlocked; it then
// fails on its own when it cannot place the replacement. Windows lets the lock go when its
// handle closes, also when a writer dies.
struct WriterLock::Native {
  win32::OwnedHandle file;
};

WriterLock::WriterLock(const Text& path) : native_(std::make_unique<Native>()) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return;
  const std::size_t slash = wide->find_last_of(L"\\/");
  const std::size_t base = slash == std::wstring::npos ? 0 : slash + 1;
  const std::wstring lockPath = wide->substr(0, base) + L"." + wide->substr(base) + L".lock";
  native_->file = win32::Own(CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
  OVERLAPPED whole{};
  if (native_->file && !LockFileEx(native_->file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
    native_->file.reset();
  }
}

WriterLock::~WriterLock() = default;

}  // namespace kesto::profile
