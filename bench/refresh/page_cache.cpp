#include "bench/refresh/page_cache.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kesto::bench {

std::string DropPageCache() {
  sync();
  const char* control = "/proc/sys/vm/drop_caches";
  int file = open(control, O_WRONLY | O_CLOEXEC);
  if (file < 0) return std::string(control) + ": " + std::strerror(errno);
  const bool written = write(file, "3", 1) == 1;
  const int error = errno;
  close(file);
  return written ? "" : std::string(control) + ": " + std::strerror(error);
}

}  // namespace kesto::bench
