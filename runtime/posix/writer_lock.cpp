// The lock is held on a companion file, ".<name>.lock" beside the file: every write renames a
// new file over the old one, so a lock on the file itself would guard a file no longer in place
// while the next writer locks its replacement. The companion is never replaced or removed (a
// removal would let two writers lock different files), so it stays, hidden like the temporary
// files of a replacement. A lock on the folder would leave nothing behind, but network file
// systems lock only files open for writing, which a folder never is. flock() locks are let go
// by the kernel when a writer dies, so a crash leaves no stale lock.
#include "runtime/posix/writer_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/posix/whole_file.h"

namespace kesto::posix {

namespace {

std::string LockFileFor(const std::string& nativePath) {
  // Writers that reach the file through a symbolic link lock beside the file they replace.
  std::string target = FinalTarget(nativePath);
  std::size_t slash = target.rfind('/');
  std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  return target.substr(0, base) + "." + target.substr(base) + ".lock";
}

}  // namespace

// Without a lock file (a folder that cannot be written) the write goes ahead unlocked; it then
// fails on its own when it cannot place the replacement.
WriterLock::WriterLock(const std::string& nativePath) {
  fd_ = open(LockFileFor(nativePath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) return;
  while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

WriterLock::~WriterLock() {
  if (fd_ >= 0) close(fd_);  // closing lets the lock go
}

}  // namespace kesto::posix
