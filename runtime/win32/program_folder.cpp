// The program folder on Windows: the write check, and the settings an older build lost to the
// VirtualStore. The manifest ends file virtualization, so a copy under Program Files no longer
// writes there: its folder is either writable or says so.
#include "runtime/program_folder.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shlobj.h>

#include "runtime/profile_store.h"
#include "runtime/win32/owned_handle.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

namespace {

// Only paths on a drive were virtualized.
std::wstring VirtualStoreCopyOf(const std::wstring& file) {
  if (file.size() < 4 || file[1] != L':' || file[2] != L'\\') return {};
  wchar_t local[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) {
    return {};
  }
  return std::wstring(local) + L"\\VirtualStore" + file.substr(2);
}

bool LastWritten(const std::wstring& file, FILETIME& when) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  when = data.ftLastWriteTime;
  return true;
}

}  // namespace

bool FolderWritable(const Text& folder) {
  const auto probe = win32::ToWidePath(folder + "\\.kesto-write-check-" +
                                       ToText(static_cast<int>(GetCurrentProcessId())));
  if (!probe) return false;
  return win32::Own(CreateFileW(probe->c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr)) !=
         nullptr;
}

// Under the writers' lock of the file, so that no tool writes it in the middle of the move. The
// VirtualStore lies on the system drive, the program perhaps on another: the move may copy.
void AdoptVirtualStoreCopy(const Text& file) {
  // The full path in its plain form (a drive letter first), as the VirtualStore mirrors it.
  const std::wstring target = win32::FullPathName(win32::ToWide(file)).value_or(std::wstring{});
  const std::wstring stored = VirtualStoreCopyOf(target);
  FILETIME storedWritten, targetWritten;
  if (stored.empty() || !LastWritten(stored, storedWritten)) return;
  if (LastWritten(target, targetWritten) && CompareFileTime(&targetWritten, &storedWritten) >= 0) {
    return;
  }
  profile::WriterLock lock(file);
  MoveFileExW(stored.c_str(), target.c_str(),
              MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH);
}

}  // namespace kesto
