#include "runtime/win32/inet_leavable_call.h"

#include <thread>

#include "runtime/win32/inet_handle_notes.h"

namespace kesto::inet::win32 {

namespace {

void RunCalls(const std::shared_ptr<LeavableCall>& calls) {
  while (true) {
    std::function<BOOL(DWORD&)> call;
    {
      std::unique_lock<std::mutex> lock(calls->mutex);
      calls->changed.wait(lock, [&] { return calls->call || calls->stop; });
      if (!calls->call) return;
      call = std::move(calls->call);
      calls->call = nullptr;
    }
    DWORD value = 0;
    const bool ok = call(value) != FALSE;
    std::shared_ptr<LeftClose> close;
    {
      std::lock_guard<std::mutex> lock(calls->mutex);
      calls->busy = false;
      calls->ok = ok;
      calls->value = value;
      close = std::move(calls->close);
    }
    calls->changed.notify_all();
    if (close) {
      if (--close->calls == 0) Notes().CloseLeft(close->handle);
      return;
    }
  }
}

}  // namespace

bool CallLeavably(HINTERNET request, std::function<BOOL(DWORD& value)> call, DWORD& value) {
  std::shared_ptr<LeavableCall> calls;
  const bool open = Notes().Use(request, [&](HandleNote& note) {
    if (!note.calls) {
      note.calls = std::make_shared<LeavableCall>();
      std::thread(RunCalls, note.calls).detach();
    }
    calls = note.calls;
  });
  if (!open) return false;
  std::unique_lock<std::mutex> lock(calls->mutex);
  if (calls->stop) return false;
  calls->call = std::move(call);
  calls->busy = true;
  calls->changed.notify_all();
  calls->changed.wait(lock, [&] { return !calls->busy || calls->left; });
  value = calls->value;
  return !calls->left && calls->ok;
}

void CloseCalls(LeavableCall& calls, const std::shared_ptr<LeftClose>& left) {
  std::lock_guard<std::mutex> lock(calls.mutex);
  calls.stop = true;
  if (calls.busy) {
    calls.left = true;
    calls.close = left;
    ++left->calls;
  }
  calls.changed.notify_all();
}

}  // namespace kesto::inet::win32
