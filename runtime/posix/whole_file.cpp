// Whole-file reads, and replacement through a temporary file, fsync() and rename().
#include "runtime/posix/whole_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace kesto::posix {

namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t written = write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The temporary name of a replacement: ".<name>.<process id>-<count>.tmp" beside the target.
std::string TemporaryPrefix(const std::string& base) {
  return "." + base + ".";
}

// A writer killed in the middle of a replacement leaves its temporary file behind. The next
// writer of the same file removes those whose process is gone, so they do not pile up; a live
// writer's file is never touched.
void RemoveStaleTemporaries(const std::string& folder, const std::string& base) {
  DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
  if (!listing) return;
  const std::string prefix = TemporaryPrefix(base);
  while (dirent* entry = readdir(listing)) {
    std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
    name.remove_prefix(prefix.size());
    char* end = nullptr;
    std::string rest(name);
    long pid = std::strtol(rest.c_str(), &end, 10);
    if (end == rest.c_str() || *end != '-' || pid <= 0 || pid == getpid()) continue;
    std::string_view tail = end + 1;
    if (tail.size() <= 4 || tail.substr(tail.size() - 4) != ".tmp" ||
        tail.find_first_not_of("0123456789") != tail.size() - 4) {
      continue;
    }
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
      unlinkat(dirfd(listing), entry->d_name, 0);
    }
  }
  closedir(listing);
}

// A fresh name beside the target: hidden, unique to this process and call.
int CreateTemporary(const std::string& target, std::string& name) {
  static std::atomic<unsigned> counter{0};
  std::size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? std::string{} : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  RemoveStaleTemporaries(folder, base);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + TemporaryPrefix(base) + std::to_string(getpid()) + "-" +
           std::to_string(counter++) + ".tmp";
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

// A replacement goes to the link's target, so the link stays a link.
std::string FinalTarget(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved)) return resolved;
  }
  return path;
}

bool IsReadOnly(const std::string& nativePath) {
  struct stat info;
  return stat(nativePath.c_str(), &info) == 0 && !(info.st_mode & S_IWUSR);
}

ReadResult ReadWholeFile(const std::string& nativePath) {
  ReadResult result;
  int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    result.error = errno == ENOENT ? ReadError::kMissing : ReadError::kUnreadable;
    return result;
  }
  result.error = ReadError::kUnreadable;
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    std::string content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
      ssize_t got = read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) break;
      if (got == 0) {
        result.content = std::move(content);
        break;
      }
      content.append(buffer, static_cast<std::size_t>(got));
    }
  }
  close(fd);
  return result;
}

Replacement::Replacement(const std::string& nativePath) {
  if (nativePath.empty()) return;
  target_ = FinalTarget(nativePath);
  struct stat old;
  const bool replacing = stat(target_.c_str(), &old) == 0;
  if (replacing && (!S_ISREG(old.st_mode) || IsReadOnly(target_))) {
    errno = S_ISDIR(old.st_mode) ? EISDIR : EACCES;  // for a caller that says why
    return;
  }
  fd_ = CreateTemporary(target_, temporary_);
  if (fd_ < 0) return;
  ok_ = true;
  if (replacing) {
    ok_ = fchmod(fd_, old.st_mode & 07777) == 0;
    // Only a privileged writer can keep another owner; the contents matter more than that.
    [[maybe_unused]] int owned = fchown(fd_, old.st_uid, old.st_gid);
  }
}

Replacement::~Replacement() {
  if (fd_ >= 0) close(fd_);
  if (!temporary_.empty()) unlink(temporary_.c_str());
}

bool Replacement::Write(std::string_view data) {
  ok_ = ok_ && WriteAll(fd_, data);
  return ok_;
}

bool Replacement::Commit() {
  if (fd_ < 0) return false;
  // On the disk before the rename, so that a crash leaves the old file or the new one whole.
  ok_ = ok_ && fsync(fd_) == 0;
  ok_ = close(fd_) == 0 && ok_;
  fd_ = -1;
  ok_ = ok_ && rename(temporary_.c_str(), target_.c_str()) == 0;
  if (ok_) temporary_.clear();
  return ok_ && SyncFolderOf(target_);
}

bool SyncFolderOf(const std::string& nativePath) {
  const std::size_t slash = nativePath.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : nativePath.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  return close(fd) == 0 && synced;
}

bool WriteWholeFile(const std::string& nativePath, const std::vector<std::string_view>& parts) {
  Replacement file(nativePath);
  for (std::string_view part : parts) file.Write(part);
  return file.Commit();
}

}  // namespace kesto::posix
