// What the WinInet back end keeps beside WinInet's own handles: which handle each was opened
// through (closing a session or connection takes its requests along), the connection an
// address opened in one step owns, how much of a response's body was handed out and whether
// its transfer failed, which WinInet does not always say itself, how the body keeps up the
// least rate, and the call under way on a request that another thread may close.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace kesto::inet::win32 {

struct LeavableCall;

struct HandleNote {
  HINTERNET parent = nullptr;
  HINTERNET ownedConnection = nullptr;  // closed with the request
  std::uint64_t received = 0;           // body bytes handed out since the request was sent
  bool failed = false;                  // the transfer failed: every later read fails
  DWORD windowStart = 0;                // tick count when the rate's window began
  std::uint64_t windowBytes = 0;        // body bytes received in it
  DWORD buffered = 0;                   // body bytes WinInet holds that can be read at once
  std::shared_ptr<LeavableCall> calls;  // its calls that wait on the network, once one has
  bool closed = false;                  // closed while a call was under way: no more calls
};

class HandleNotes {
 public:
  void Add(HINTERNET handle, HINTERNET parent, HINTERNET ownedConnection = nullptr);
  // A request sent (again): its body and the rate's window start anew.
  void Restart(HINTERNET handle);
  // Calls `use` on the handle's note under the lock, where WinInet calls on the handle that
  // do not wait on the network are made: no close comes between. False, without the call,
  // for a handle that was never noted or is closed.
  template <class Change>
  bool Use(HINTERNET handle, Change use) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = notes_.find(handle);
    if (found == notes_.end() || found->second.closed) return false;
    use(found->second);
    return true;
  }
  // Closes the handle and every handle opened through it, with the connection it owned, if
  // any. A call still waiting on one of them is left to its caller's leaving: WinInet's
  // handle is then closed when the last such call returns (CloseLeft).
  bool Close(HINTERNET handle);
  // Closes what a left call was to close once it returned.
  void CloseLeft(HINTERNET handle);

 private:
  bool CloseLocked(HINTERNET handle);
  HINTERNET RemoveLocked(HINTERNET handle);

  std::mutex mutex_;
  std::map<HINTERNET, HandleNote> notes_;
};

HandleNotes& Notes();

}  // namespace kesto::inet::win32
