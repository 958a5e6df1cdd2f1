// FindFiles and CloseFind on FindFirstFileW / FindNextFileW. Listings are kept in a table, so
// that a handle the table does not know (never opened, already closed) is harmless.
#include <windows.h>

#include <map>
#include <mutex>

#include "runtime/core.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

namespace {

struct Listing {
  HANDLE search;
  WIN32_FIND_DATAW entry;  // the entry FindFirstFileW gave, until it has been looked at
  bool entryPending;
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

void Close(Listings& table, FindHandle& handle) {
  auto it = table.open.find(handle);
  if (it != table.open.end()) {
    FindClose(it->second.search);
    table.open.erase(it);
  }
  handle = 0;
}

bool Wanted(DWORD attributes, int attributeMask, bool filesOnly) {
  if (filesOnly) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  DWORD mask = static_cast<DWORD>(attributeMask) & 0x37;
  return mask == 0 ? attributes == 0 : (attributes & mask) != 0;
}

}  // namespace

Text FindFiles(const Text& pattern, int attributeMask, bool filesOnly, FindHandle& handle) {
  auto& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  if (!pattern.empty()) {
    Close(table, handle);
    auto wide = win32::ToWidePath(pattern);
    if (!wide) return {};
    Listing listing{};
    listing.search = FindFirstFileW(wide->c_str(), &listing.entry);
    if (listing.search == INVALID_HANDLE_VALUE) return {};
    listing.entryPending = true;
    handle = ++table.lastHandle;
    table.open.emplace(handle, listing);
  }
  auto it = table.open.find(handle);
  if (it == table.open.end()) return {};
  Listing& listing = it->second;
  while (listing.entryPending || FindNextFileW(listing.search, &listing.entry)) {
    listing.entryPending = false;
    if (Wanted(listing.entry.dwFileAttributes, attributeMask, filesOnly)) {
      return win32::FromWide(listing.entry.cFileName);
    }
  }
  Close(table, handle);
  return {};
}

std::vector<ListedEntry> ListFolder(const Text& pattern) {
  std::vector<ListedEntry> entries;
  auto wide = pattern.empty() ? std::nullopt : win32::ToWidePath(pattern);
  if (!wide) return entries;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(wide->c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({win32::FromWide(entry.cFileName),
                       (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return entries;
}

void CloseFind(FindHandle& handle) {
  auto& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  Close(table, handle);
}

}  // namespace kesto
