// FindFiles and CloseFind: folder listings kept in a table, so that a handle the table does not
// know (never opened, already closed) is harmless.
#include <map>
#include <memory>
#include <mutex>

#include "runtime/core.h"
#include "runtime/posix/folder_entries.h"
#include "runtime/posix/folder_pattern.h"
#include "runtime/posix/native_text.h"

namespace kesto {

namespace {

struct Listing {
  std::string folder;
  Text pattern;
  std::vector<std::string> names;
  std::vector<posix::EntryKind> kinds;  // empty for a single named entry
  std::size_t next = 0;
};

struct Listings {
  std::mutex lock;
  std::map<FindHandle, Listing> open;
  FindHandle lastHandle = 0;
};

Listings& Table() {
  static Listings table;
  return table;
}

// The names the pattern can match: the whole folder for a wildcard pattern, else the one entry.
std::optional<Listing> OpenListing(const Text& pattern) {
  auto parts = posix::SplitFolderPattern(pattern);
  if (!parts || parts->name.empty()) return std::nullopt;
  Listing listing{parts->folder, parts->name, {}, {}, 0};
  if (posix::HasWildcards(parts->name)) {
    auto names = posix::FolderEntries(parts->folder, &listing.kinds);
    if (!names) return std::nullopt;
    listing.names = std::move(*names);
  } else {
    listing.names.push_back(*posix::ToNativePath(parts->name));
  }
  return listing;
}

bool Wanted(int attributes, int attributeMask, bool filesOnly) {
  if (filesOnly) return !(attributes & kAttrDirectory);
  int mask = attributeMask & 0x37;
  return mask == 0 ? attributes == 0 : (attributes & mask) != 0;
}

// Whether the entry is wanted, when the listing's own kind of it settles that: asking for files
// only, or for folders only, needs no look at a plain file or folder. Nothing otherwise.
std::optional<bool> WantedByKind(posix::EntryKind kind, int attributeMask, bool filesOnly) {
  if (kind == posix::EntryKind::kUnknown) return std::nullopt;
  bool folder = kind == posix::EntryKind::kFolder;
  if (filesOnly) return !folder;
  if ((attributeMask & 0x37) == kAttrDirectory) return folder;
  return std::nullopt;
}

// The listing's next name that the pattern matches, in its Windows form, with its place in the
// listing; nothing at the end.
struct Candidate {
  std::size_t at;
  Text windowsName;
};
std::optional<Candidate> NextMatch(Listing& listing) {
  const bool wildcard = posix::HasWildcards(listing.pattern);
  while (listing.next < listing.names.size()) {
    const std::size_t at = listing.next++;
    Text windowsName = posix::FromNativePath(listing.names[at]);
    if (!wildcard || posix::WildcardMatches(listing.pattern, windowsName)) {
      return Candidate{at, std::move(windowsName)};
    }
  }
  return std::nullopt;
}

posix::EntryKind KindAt(const Listing& listing, std::size_t at) {
  return listing.kinds.empty() ? posix::EntryKind::kUnknown : listing.kinds[at];
}

}  // namespace

Text FindFiles(const Text& pattern, int attributeMask, bool filesOnly, FindHandle& handle) {
  auto& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  if (!pattern.empty()) {
    table.open.erase(handle);
    handle = 0;
    auto listing = OpenListing(pattern);
    if (!listing) return {};
    handle = ++table.lastHandle;
    table.open.emplace(handle, std::move(*listing));
  }
  auto it = table.open.find(handle);
  if (it == table.open.end()) return {};
  Listing& listing = it->second;
  while (std::optional<Candidate> candidate = NextMatch(listing)) {
    std::optional<bool> wanted =
        WantedByKind(KindAt(listing, candidate->at), attributeMask, filesOnly);
    if (wanted && !*wanted) continue;
    if (wanted) return candidate->windowsName;
    int attributes = posix::EntryAttributes(listing.folder, listing.names[candidate->at]);
    if (attributes < 0 || !Wanted(attributes, attributeMask, filesOnly)) continue;
    return candidate->windowsName;
  }
  table.open.erase(it);
  handle = 0;
  return {};
}

std::vector<ListedEntry> ListFolder(const Text& pattern) {
  std::vector<ListedEntry> entries;
  if (pattern.empty()) return entries;
  std::optional<Listing> listing = OpenListing(pattern);
  if (!listing) return entries;
  while (std::optional<Candidate> candidate = NextMatch(*listing)) {
    posix::EntryKind kind = KindAt(*listing, candidate->at);
    if (kind == posix::EntryKind::kUnknown) {
      int attributes = posix::EntryAttributes(listing->folder, listing->names[candidate->at]);
      if (attributes < 0) continue;  // gone since the folder was read
      kind = (attributes & kAttrDirectory) ? posix::EntryKind::kFolder : posix::EntryKind::kFile;
    }
    entries.push_back({std::move(candidate->windowsName), kind == posix::EntryKind::kFolder});
  }
  return entries;
}

void CloseFind(FindHandle& handle) {
  auto& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  table.open.erase(handle);
  handle = 0;
}

}  // namespace kesto
