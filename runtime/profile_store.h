// What the profile-file operations need of each back end: the file's bytes as they stand, and
// the writer lock around a read-modify-write. Names and values are never converted through the
// system's code page, so GBK settings stay byte-exact whatever that code page is.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "runtime/core.h"

namespace kesto::profile {

// The whole file; no content for a missing file, and `unreadable` for any other failure (a
// folder, a path that is not valid GBK, a file the system will not open).
struct StoredFile {
  std::optional<std::string> content;
  bool unreadable = false;
};
StoredFile ReadStoredFile(const Text& path);

// An existing file that may not be written, which the system's profile calls refuse to write
// even when nothing would change.
bool IsReadOnlyFile(const Text& path);

// Held from construction to destruction by every program built on the runtime around its
// read-modify-write of a profile file, so that no writer replaces another's change. Readers
// need none: each write replaces the file whole, by a rename.
class WriterLock {
 public:
  explicit WriterLock(const Text& path);
  ~WriterLock();
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace kesto::profile
