// A WinInet call that may wait on the network (a request sent, body bytes awaited) runs on the
// request's own helper thread while its caller waits for it, so that another thread closing the
// request ends the caller's wait at once. WinInet's handles must not be closed under a call
// that is still under way: that close is made by the helper once WinInet returns, which the
// stall time bounds; the helper then ends, as it does when its request is closed while idle.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace kesto::inet::win32 {

// A close that waits for the calls under way on the handles it closes.
struct LeftClose {
  HINTERNET handle = nullptr;
  std::atomic<int> calls{0};
};

// A request's helper thread and the call it runs.
struct LeavableCall {
  std::mutex mutex;
  std::condition_variable changed;
  std::function<BOOL(DWORD& value)> call;  // handed over, not yet taken by the helper
  bool busy = false;                       // a call is handed over or under way
  bool left = false;                       // closed while busy: the caller has gone
  bool stop = false;                       // closed: the helper ends once idle
  bool ok = false;
  DWORD value = 0;
  std::shared_ptr<LeftClose> close;  // made by the helper once the call returns
};

// Runs `call` (given a value to fill) for `request` and gives its result. False at once when
// the request is closed, before or while it waits.
bool CallLeavably(HINTERNET request, std::function<BOOL(DWORD& value)> call, DWORD& value);

// Closes the calls of a request being closed: a call under way is left, and will close `left`
// when it returns; an idle helper ends.
void CloseCalls(LeavableCall& calls, const std::shared_ptr<LeftClose>& left);

}  // namespace kesto::inet::win32
