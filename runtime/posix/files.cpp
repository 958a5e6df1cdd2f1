// The current directory, file existence, reading whole files and replacing them.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "runtime/core.h"
#include "runtime/posix/folder_entries.h"
#include "runtime/posix/folder_pattern.h"
#include "runtime/posix/native_text.h"
#include "runtime/posix/whole_file.h"

namespace kesto {

// Without a trailing "\" except for the root itself. Paths of any length are given whole.
Text CurrentDirectory() {
  std::string buffer(PATH_MAX, '\0');
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return posix::FromNativePath(buffer);
}

// True when a Windows file search for the path would find something: a file, a folder, or an
// entry matching a wildcard pattern ("." counts, so "folder\*" finds even an empty folder).
bool FileExists(const Text& path) {
  auto parts = posix::SplitFolderPattern(path);
  if (!parts || parts->name.empty()) return false;
  if (!posix::HasWildcards(parts->name)) {
    struct stat info;
    return lstat(posix::ToNativePath(path)->c_str(), &info) == 0;
  }
  auto names = posix::FolderEntries(parts->folder);
  if (!names) return false;
  for (const std::string& name : *names) {
    if (posix::WildcardMatches(parts->name, posix::FromNativePath(name))) return true;
  }
  return false;
}

Bytes ReadFileBytes(const Text& path) {
  auto native = posix::ToNativePath(path);
  if (path.empty() || !native) return {};
  auto read = posix::ReadWholeFile(*native);
  if (!read.content) return {};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(read.content->data());
  return Bytes(bytes, bytes + read.content->size());
}

struct FileReplacement::Native {
  explicit Native(const std::string& nativePath) : file(nativePath) {}
  posix::Replacement file;
};

FileReplacement::FileReplacement(const Text& path) {
  auto native = posix::ToNativePath(path);
  if (!path.empty() && native) native_ = std::make_unique<Native>(*native);
}

FileReplacement::~FileReplacement() = default;

bool FileReplacement::Write(const std::uint8_t* data, std::size_t size) {
  return native_ && native_->file.Write({reinterpret_cast<const char*>(data), size});
}

bool FileReplacement::Commit() {
  return native_ && native_->file.Commit();
}

}  // namespace kesto
