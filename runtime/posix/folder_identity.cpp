// Folder identity on POSIX: the device and inode the path leads to, links followed.
#include <sys/stat.h>

#include "runtime/core.h"
#include "runtime/posix/native_text.h"

namespace kesto {

Text FolderIdentity(const Text& path) {
  std::optional<std::string> native = posix::ToNativePath(path);
  struct stat info;
  if (!native || stat(native->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
  return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

}  // namespace kesto
