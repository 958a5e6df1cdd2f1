#include "runtime/win32/inet_handle_notes.h"

#include <vector>

#include "runtime/win32/inet_leavable_call.h"

namespace kesto::inet::win32 {

void HandleNotes::Add(HINTERNET handle, HINTERNET parent, HINTERNET ownedConnection) {
  if (!handle) return;
  std::lock_guard<std::mutex> lock(mutex_);
  // WinInet hands out the value of a closed handle again: whatever was noted under it is gone.
  RemoveLocked(handle);
  HandleNote& note = notes_[handle];
  note.parent = parent;
  note.ownedConnection = ownedConnection;
}

void HandleNotes::Restart(HINTERNET handle) {
  Use(handle, [](HandleNote& note) {
    note.received = 0;
    note.failed = false;
    note.windowStart = GetTickCount();
    note.windowBytes = 0;
    note.buffered = 0;
  });
}

bool HandleNotes::Close(HINTERNET handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = notes_.find(handle);
  if (found == notes_.end()) return ::InternetCloseHandle(handle) != FALSE;
  if (found->second.closed) return false;
  // The handle and those opened through it are closed to every caller now; the calls still
  // waiting on the network are left, and the last to return closes WinInet's handle.
  auto left = std::make_shared<LeftClose>();
  left->handle = handle;
  left->calls = 1;  // this close's own hold, so that no call returning meanwhile closes first
  std::vector<HINTERNET> pending{handle};
  while (!pending.empty()) {
    const HINTERNET current = pending.back();
    pending.pop_back();
    HandleNote& note = notes_[current];
    note.closed = true;
    if (note.calls) CloseCalls(*note.calls, left);
    for (const auto& [child, childNote] : notes_) {
      if (childNote.parent == current) pending.push_back(child);
    }
  }
  return --left->calls > 0 || CloseLocked(handle);
}

void HandleNotes::CloseLeft(HINTERNET handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  CloseLocked(handle);
}

bool HandleNotes::CloseLocked(HINTERNET handle) {
  const bool closed = ::InternetCloseHandle(handle) != FALSE;
  if (HINTERNET owned = RemoveLocked(handle)) {
    ::InternetCloseHandle(owned);
    RemoveLocked(owned);
  }
  return closed;
}

HINTERNET HandleNotes::RemoveLocked(HINTERNET handle) {
  auto found = notes_.find(handle);
  if (found == notes_.end()) return nullptr;
  const HINTERNET owned = found->second.ownedConnection;
  notes_.erase(found);
  std::vector<HINTERNET> children;
  for (const auto& [child, note] : notes_) {
    if (note.parent == handle) children.push_back(child);
  }
  for (HINTERNET child : children) RemoveLocked(child);
  return owned;
}

HandleNotes& Notes() {
  // Never destroyed: a helper whose call returns while the process ends may still close here.
  static HandleNotes* const notes = new HandleNotes;
  return *notes;
}

}  // namespace kesto::inet::win32
