// Folder identity on Windows: the volume's serial number and the folder's file index, which
// every spelling of the folder's path (links included) leads to.
#include <windows.h>

#include "runtime/core.h"
#include "runtime/win32/owned_handle.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

Text FolderIdentity(const Text& path) {
  auto wide = win32::ToWidePath(path);
  if (!wide) return {};
  // Opening a folder needs the backup-semantics flag; no access right is asked for.
  auto folder = win32::Own(
      CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder || !GetFileInformationByHandle(folder.get(), &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return {};
  }
  return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) +
         ":" + std::to_string(info.nFileIndexLow);
}

}  // namespace kesto
