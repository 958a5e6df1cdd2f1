// Reading and replacing whole files. A replacement is written beside the file under a
// temporary name, flushed to the disk and renamed over it, so that a reader (in this or another
// process, or after a crash) sees the old file or the new one, never a half-written one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesto::posix {

enum class ReadError { kMissing, kUnreadable };

// The whole content of a regular file; a folder, device or pipe is unreadable (and a pipe
// never blocks the caller).
struct ReadResult {
  std::optional<std::string> content;
  ReadError error = ReadError::kMissing;
};
ReadResult ReadWholeFile(const std::string& nativePath);

// The file a path finally names: a symbolic link's target, else the path itself.
std::string FinalTarget(const std::string& nativePath);

// True for an existing file its owner may not write, which the folder listing calls read-only.
// Windows refuses to write such a file to anyone, so the bits decide, not who asks.
bool IsReadOnly(const std::string& nativePath);

// A file written piece by piece and renamed over `nativePath` by Commit(); see FileReplacement.
// A replaced file keeps its permissions; a symbolic link is followed and its target replaced.
class Replacement {
 public:
  explicit Replacement(const std::string& nativePath);
  ~Replacement();
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;
  bool Write(std::string_view data);
  bool Commit();

 private:
  std::string target_;
  std::string temporary_;  // empty once renamed into place
  int fd_ = -1;
  bool ok_ = false;
};

// Creates or replaces the file at `nativePath` with the parts in order, as one Replacement.
// False for a read-only file and on any error, with the old file untouched and no temporary
// file left.
bool WriteWholeFile(const std::string& nativePath, const std::vector<std::string_view>& parts);

// Puts the folder that holds `nativePath` on the disk, so that a rename into it or out of it
// outlives a power cut; false when it cannot be.
bool SyncFolderOf(const std::string& nativePath);

}  // namespace kesto::posix
