// The current directory, file existence, and reading and writing whole files, through the
// W functions.
#include <windows.h>

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

bool WriteFileBytes(const Text& path, std::initializer_list<Bytes> parts) {
  auto file = OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (!file) return false;
  for (const Bytes& part : parts) {
    DWORD written = 0;
    if (!part.empty() &&
        (!WriteFile(file.get(), part.data(), static_cast<DWORD>(part.size()), &written, nullptr) ||
         written != part.size())) {
      return false;
    }
  }
  return true;
}

// Windows starts a program file by its content, whatever its name: an existing file will do.
bool MakeRunnable(const Text& path) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return false;
  DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace kesto
