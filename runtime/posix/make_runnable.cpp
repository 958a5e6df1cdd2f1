// MakeRunnable on POSIX: execute permission wherever the file may be read, as "chmod +x" gives.
#include <sys/stat.h>

#include "runtime/core.h"
#include "runtime/posix/native_text.h"

namespace kesto {

bool MakeRunnable(const Text& path) {
  std::optional<std::string> native = posix::ToNativePath(path);
  struct stat info;
  if (!native || stat(native->c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  mode_t readable = info.st_mode & (S_IRUSR | S_IRGRP | S_IROTH);
  // Each read bit shifted onto its execute bit.
  return chmod(native->c_str(), (info.st_mode & 07777) | (readable >> 2)) == 0;
}

}  // namespace kesto
