// The Win32 toolkit's side of what the toolkit-independent front asks of a toolkit.
#include "runtime/toolkit_front/back_end.h"

#include "runtime/win32/toolkit/loaded_windows.h"
#include "runtime/win32/toolkit/ui_thread.h"

namespace kesto::front {

void RunOnUiThread(const std::function<void()>& work) {
  win32::RunOnUiThread(work);
}

void PostToUiThread(std::function<void()> work) {
  win32::PostToUiThread(std::move(work));
}

// Before the user-interface thread is marked, the calling thread is the only one.
bool ChangesWindowsHere() {
  return win32::IsUiThread() || !win32::HasUiThread();
}

void EndMessageLoop() {
  if (win32::MessageLoopRunning()) PostQuitMessage(0);
}

}  // namespace kesto::front
