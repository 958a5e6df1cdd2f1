#include "runtime/user_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kesto {
namespace {

std::string Describe(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<std::string> UserArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

bool ReadUserFile(const std::string& path, Bytes& out, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Describe("cannot open", path);
    return false;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? path + " is a directory" : Describe("cannot examine", path);
    close(fd);
    return false;
  }
  out.clear();
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = Describe("cannot read", path);
      close(fd);
      return false;
    }
    if (n == 0) break;
    out.insert(out.end(), buffer, buffer + n);
  }
  close(fd);
  return true;
}

bool ReplaceUserFile(const std::string& path, const Bytes& bytes, std::string& error) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  std::string temporary = (folder / ".regtool-XXXXXX").string();
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    error = Describe("cannot create a temporary file in", folder.string());
    return false;
  }
  const mode_t mask = umask(0);
  umask(mask);
  bool written = WriteAll(fd, bytes) && fchmod(fd, 0666 & ~mask) == 0 && fsync(fd) == 0;
  if (!written) error = Describe("cannot write", temporary);
  if (close(fd) != 0 && written) {
    written = false;
    error = Describe("cannot write", temporary);
  }
  if (!written) {
    unlink(temporary.c_str());
    return false;
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    error = Describe("cannot replace", path);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace kesto
