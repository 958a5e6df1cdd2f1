#include "runtime/win32/inet_handle_notes.h"

#include <vector>

namespace kesto::inet::win32 {

void HandleNotes::Add(HINTERNET handle, HINTERNET parent, HINTERNET ownedConnection) {
  if (!handle) return;
  std::lock_guard<std::mutex> lock(mutex_);
  // WinInet hands out the value of a closed handle again: whatever was noted under it is gone.
  RemoveLocked(handle);
  notes_[handle] = HandleNote{parent, ownedConnection};
}

void HandleNotes::Restart(HINTERNET handle) {
  Update(handle, [](HandleNote& note) {
    note.received = 0;
    note.failed = false;
    note.windowStart = GetTickCount();
    note.windowBytes = 0;
  });
}

HINTERNET HandleNotes::Remove(HINTERNET handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = notes_.find(handle);
  HINTERNET owned = found == notes_.end() ? nullptr : found->second.ownedConnection;
  RemoveLocked(handle);
  return owned;
}

void HandleNotes::RemoveLocked(HINTERNET handle) {
  notes_.erase(handle);
  std::vector<HINTERNET> children;
  for (const auto& [child, note] : notes_) {
    if (note.parent == handle) children.push_back(child);
  }
  for (HINTERNET child : children) RemoveLocked(child);
}

HandleNotes& Notes() {
  static HandleNotes notes;
  return notes;
}

}  // namespace kesto::inet::win32
