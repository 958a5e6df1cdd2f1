#include "runtime/tool_services.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "runtime/win32/wide_text.h"

namespace kesto {

namespace fs = std::filesystem;

namespace {

constexpr int kHoldRetryMilliseconds = 100;
constexpr UINT kGbkCodePage = 936;

// The hold is a byte-range lock far beyond the end of the file: Windows allows locking there,
// and no reader or the loader of a program file ever touches that range.
constexpr DWORD kHoldOffsetHigh = 0x7FFFFFFF;

bool TryHold(HANDLE file) {
  OVERLAPPED where{};
  where.OffsetHigh = kHoldOffsetHigh;
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where);
}

}  // namespace

bool MakeFolder(const Text& path) {
  const auto wide = win32::ToWidePath(path);
  if (!wide) return false;
  std::error_code error;
  fs::create_directories(fs::path(*wide), error);
  return fs::is_directory(fs::path(*wide), error);
}

bool MakeFileIfMissing(const Text& path) {
  const auto wide = win32::ToWidePath(path);
  if (!wide) return false;
  HANDLE file = CreateFileW(wide->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) return CloseHandle(file) != 0;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MoveFileReplacing(const Text& from, const Text& to) {
  const auto wideFrom = win32::ToWidePath(from);
  const auto wideTo = win32::ToWidePath(to);
  // Through to the disk before it returns: a power cut after an update's move keeps it.
  return wideFrom && wideTo &&
         MoveFileExW(wideFrom->c_str(), wideTo->c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool LinkOrCopyFile(const Text& from, const Text& to) {
  const auto wideFrom = win32::ToWidePath(from);
  const auto wideTo = win32::ToWidePath(to);
  if (!wideFrom || !wideTo) return false;
  DeleteFileW(wideTo->c_str());
  if (CreateHardLinkW(wideTo->c_str(), wideFrom->c_str(), nullptr)) return true;
  // A volume without links (FAT): a whole copy, flushed, put in place by one move.
  const std::wstring temporary = *wideTo + L".copy";
  bool copied = CopyFileW(wideFrom->c_str(), temporary.c_str(), FALSE);
  if (copied) {
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    copied = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  if (copied && MoveFileExW(temporary.c_str(), wideTo->c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}

namespace {

// Through the W functions on the "\\?\" form, which the paths below keep at any length. A
// link to a folder is removed, never what it leads to.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      const DWORD attributes = found.dwFileAttributes;
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
      } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveDirectoryW(path.c_str());
      } else {
        RemoveTree(path);
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

void RemoveFolderTree(const Text& path) {
  auto wide = win32::ToWideTreePath(path);
  if (!wide) return;
  while (wide->size() > 1 && (wide->back() == L'\\' || wide->back() == L'/')) wide->pop_back();
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    RemoveTree(*wide);
  } else {
    DeleteFileW(wide->c_str());
  }
}

void PauseMilliseconds(int milliseconds) {
  Sleep(static_cast<DWORD>(milliseconds));
}

void RunInBackground() {
  // Lowers the disk and memory priority as well as the processor's.
  SetPriorityClass(GetCurrentProcess(), PROCESS_MODE_BACKGROUND_BEGIN);
}

// What a starter's WaitForInputIdle waits for: Windows counts a look into the empty message
// queue, Wine a wait on it (for no time here).
void ReadyForInput() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
}

std::string TextToUtf8(const Text& text) {
  const std::wstring wide = win32::ToWide(text);
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

std::optional<Text> Utf8ToTextExact(const std::string& utf8) {
  if (utf8.empty()) return Text{};
  const int length = static_cast<int>(utf8.size());
  const int wideSize =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (wideSize == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), wideSize);
  BOOL lost = FALSE;
  const int size = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize,
                                       nullptr, 0, nullptr, &lost);
  if (size == 0 || lost) return std::nullopt;
  Text text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, text.data(), size,
                      nullptr, nullptr);
  return text;
}

// Code page 65001 takes no conversion flags: this is the form Windows accepts for it.
Text Utf8ToText(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return win32::FromWideCodePage936(wide);
}

// The handle is not inheritable, so started programs do not keep the hold alive.
FileHold::FileHold(const Text& path, int timeoutMilliseconds) {
  const auto wide = win32::ToWidePath(path);
  if (!wide) return;
  HANDLE file = CreateFileW(wide->c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  file_ = reinterpret_cast<std::intptr_t>(file);
  for (int waited = 0;; waited += kHoldRetryMilliseconds) {
    held_ = TryHold(file);
    if (held_ || waited >= timeoutMilliseconds) break;
    PauseMilliseconds(kHoldRetryMilliseconds);
  }
}

// Closing the handle lets go of the lock.
FileHold::~FileHold() {
  if (file_ != -1) CloseHandle(reinterpret_cast<HANDLE>(file_));
}

}  // namespace kesto
