// One writer at a time for a file that every write replaces whole, across processes.
#pragma once

#include <string>

namespace kesto::posix {

// Holds an advisory lock for the file at `nativePath` from construction to destruction; every
// program built on the runtime takes it around its read-modify-write of a shared file, so no
// writer's change is replaced by another's. Readers need none: a replacement is atomic.
class WriterLock {
 public:
  explicit WriterLock(const std::string& nativePath);
  ~WriterLock();
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace kesto::posix
