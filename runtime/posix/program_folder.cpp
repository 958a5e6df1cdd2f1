// The program folder on POSIX: a write check, and no VirtualStore.
#include "runtime/program_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include "runtime/posix/native_text.h"

namespace kesto {

bool FolderWritable(const Text& folder) {
  const auto native =
      posix::ToNativePath(folder + "\\.kesto-write-check-" + ToText(static_cast<int>(getpid())));
  if (!native) return false;
  const int fd = open(native->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  close(fd);
  unlink(native->c_str());
  return true;
}

void AdoptVirtualStoreCopy(const Text&) {}

}  // namespace kesto
