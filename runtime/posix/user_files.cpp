#include "runtime/user_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "runtime/posix/whole_file.h"

namespace kesto {
namespace {

std::string Describe(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
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
  posix::Replacement file(path);
  file.Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (file.Commit()) return true;
  error = Describe("cannot replace", path);
  return false;
}

}  // namespace kesto
