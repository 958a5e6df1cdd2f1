#include "runtime/tool_services.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "runtime/posix/native_text.h"
#include "runtime/posix/whole_file.h"

namespace kesto {

namespace fs = std::filesystem;

namespace {
constexpr int kHoldRetryMilliseconds = 100;
}

bool MakeFolder(const Text& path) {
  const auto native = posix::ToNativePath(path);
  if (path.empty() || !native) return false;
  std::error_code error;
  fs::create_directories(*native, error);
  return fs::is_directory(*native, error);
}

bool MakeFileIfMissing(const Text& path) {
  const auto native = posix::ToNativePath(path);
  if (!native) return false;
  const int fd = open(native->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) return close(fd) == 0;
  return errno == EEXIST && fs::is_regular_file(*native);
}

bool MoveFileReplacing(const Text& from, const Text& to) {
  const auto nativeFrom = posix::ToNativePath(from);
  const auto nativeTo = posix::ToNativePath(to);
  if (!nativeFrom || !nativeTo || std::rename(nativeFrom->c_str(), nativeTo->c_str()) != 0) {
    return false;
  }
  // Both folders changed; a failed sync leaves the move done, only not yet certain.
  posix::SyncFolderOf(*nativeFrom);
  posix::SyncFolderOf(*nativeTo);
  return true;
}

bool LinkOrCopyFile(const Text& from, const Text& to) {
  const auto nativeFrom = posix::ToNativePath(from);
  const auto nativeTo = posix::ToNativePath(to);
  if (!nativeFrom || !nativeTo) return false;
  unlink(nativeTo->c_str());
  if (link(nativeFrom->c_str(), nativeTo->c_str()) == 0) return posix::SyncFolderOf(*nativeTo);
  // A file system without links: a whole copy, with the file's permissions, put in place by
  // one rename once it is on the disk.
  const std::string temporary = *nativeTo + ".copy";
  std::error_code error;
  fs::copy_file(*nativeFrom, temporary, fs::copy_options::overwrite_existing, error);
  const int fd = error ? -1 : open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
  const bool synced = fd >= 0 && fsync(fd) == 0;
  if (fd >= 0) close(fd);
  if (!synced || std::rename(temporary.c_str(), nativeTo->c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return posix::SyncFolderOf(*nativeTo);
}

void RemoveFolderTree(const Text& path) {
  const auto native = posix::ToNativePath(path);
  if (path.empty() || !native) return;
  std::error_code ignored;
  fs::remove_all(*native, ignored);
}

void RunInBackground() {
  // The disk follows the processor's priority where no class of its own is set.
  constexpr int kBackgroundNiceness = 10;
  setpriority(PRIO_PROCESS, 0, kBackgroundNiceness);
}

// No starter waits for a program to take input here.
void ReadyForInput() {}

void PauseMilliseconds(int milliseconds) {
  timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1'000'000};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

std::string TextToUtf8(const Text& text) {
  return posix::GbkToUtf8(text);
}

std::optional<Text> Utf8ToTextExact(const std::string& utf8) {
  return posix::Utf8ToCodePage936Exact(utf8);
}

Text Utf8ToText(const std::string& utf8) {
  return posix::Utf8ToCodePage936(utf8);
}

// flock() locks belong to the open file: closing it, or the process ending, lets go.
FileHold::FileHold(const Text& path, int timeoutMilliseconds) {
  const auto native = posix::ToNativePath(path);
  if (!native) return;
  const int fd = open(native->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  file_ = fd;
  for (int waited = 0;; waited += kHoldRetryMilliseconds) {
    held_ = flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (held_ || waited >= timeoutMilliseconds) break;
    PauseMilliseconds(kHoldRetryMilliseconds);
  }
}

FileHold::~FileHold() {
  if (file_ >= 0) close(static_cast<int>(file_));
}

// A POSIX session ends its programs with a signal and asks none of them first.
struct SessionEndHold::Native {};
SessionEndHold::SessionEndHold(const Text&) {}
SessionEndHold::~SessionEndHold() = default;

}  // namespace kesto
