// What the WinInet back end keeps beside WinInet's own handles: which handle each was opened
// through (closing a session or connection takes its requests along), the connection an
// address opened in one step owns, how much of a response's body was handed out and whether
// its transfer failed, which WinInet does not always say itself, and how the body keeps up the
// least rate.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <map>
#include <mutex>

namespace kesto::inet::win32 {

struct HandleNote {
  HINTERNET parent = nullptr;
  HINTERNET ownedConnection = nullptr;  // closed with the request
  std::uint64_t received = 0;           // body bytes handed out since the request was sent
  bool failed = false;                  // the transfer failed: every later read fails
  DWORD windowStart = 0;                // tick count when the rate's window began
  std::uint64_t windowBytes = 0;        // body bytes received in it
};

class HandleNotes {
 public:
  void Add(HINTERNET handle, HINTERNET parent, HINTERNET ownedConnection = nullptr);
  // A request sent (again): its body and the rate's window start anew.
  void Restart(HINTERNET handle);
  // Calls `change` on the handle's note under the lock; a copy of the note after the change,
  // or an empty one for a handle that was never noted.
  template <class Change>
  HandleNote Update(HINTERNET handle, Change change) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = notes_.find(handle);
    if (found == notes_.end()) return {};
    change(found->second);
    return found->second;
  }
  // Forgets the handle and every handle opened through it; the connection it owned, if any.
  HINTERNET Remove(HINTERNET handle);

 private:
  void RemoveLocked(HINTERNET handle);

  std::mutex mutex_;
  std::map<HINTERNET, HandleNote> notes_;
};

HandleNotes& Notes();

}  // namespace kesto::inet::win32
