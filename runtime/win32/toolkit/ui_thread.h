// The user-interface thread: every window call runs there. Calls made on another thread (the
// self-update worker) are handed over through a hidden message window of that thread.
#pragma once

#include <functional>

namespace kesto::win32 {

// Remembers the calling thread as the user-interface thread and makes its message window.
void MarkUiThread();
bool IsUiThread();
// False until MarkUiThread.
bool HasUiThread();

// Runs `work` on the user-interface thread and returns when it has run; runs it at once when
// called there (or before there is one).
void RunOnUiThread(const std::function<void()>& work);

// Queues `work` for the user-interface thread and returns at once.
void PostToUiThread(std::function<void()> work);

}  // namespace kesto::win32
