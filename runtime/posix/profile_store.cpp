// The profile files' store on POSIX: paths and UTF-8 through the native text edge, the lock on
// a companion file.
#include "runtime/profile_store.h"

#include "runtime/posix/native_text.h"
#include "runtime/posix/whole_file.h"
#include "runtime/posix/writer_lock.h"

namespace kesto::profile {

StoredFile ReadStoredFile(const Text& path) {
  auto native = posix::ToNativePath(path);
  if (!native) return StoredFile{std::nullopt, true};
  auto read = posix::ReadWholeFile(*native);
  return StoredFile{read.content, !read.content && read.error == posix::ReadError::kUnreadable};
}

bool IsReadOnlyFile(const Text& path) {
  auto native = posix::ToNativePath(path);
  return native && posix::IsReadOnly(*native);
}

struct WriterLock::Native {
  explicit Native(const std::string& nativePath) : lock(nativePath) {}
  posix::WriterLock lock;
};

WriterLock::WriterLock(const Text& path) {
  if (auto native = posix::ToNativePath(path)) native_ = std::make_unique<Native>(*native);
}

WriterLock::~WriterLock() = default;

}  // namespace kesto::profile
