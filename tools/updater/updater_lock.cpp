#include "tools/updater/updater_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "runtime/core.h"
#include "runtime/posix/native_text.h"

namespace kesto::updater {

namespace {
constexpr int kRetriesPerSecond = 10;
}

// The lock is taken on the updater's own file, which every updater of the folder shares and
// which needs no clean-up. Close-on-exec keeps the programs it starts from inheriting it.
UpdaterLock::UpdaterLock(int timeoutSeconds) {
  const auto self = posix::ToNativePath(CurrentDirectory() + "\\" + ProgramFileName());
  if (!self) return;
  fd_ = open(self->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  for (int retry = 0;
       !(held_ = flock(fd_, LOCK_EX | LOCK_NB) == 0) && retry < timeoutSeconds * kRetriesPerSecond;
       ++retry) {
    usleep(1'000'000 / kRetriesPerSecond);
  }
}

UpdaterLock::~UpdaterLock() {
  if (fd_ >= 0) close(fd_);  // closing releases the lock
}

}  // namespace kesto::updater
