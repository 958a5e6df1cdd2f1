// The user-interface thread: every GTK call runs there. Calls made on another thread (the
// self-update worker) are handed over with these.
#pragma once

#include <functional>

namespace kesto::gtk {

// Remembers the calling thread as the user-interface thread.
void MarkUiThread();
bool IsUiThread();
// False until MarkUiThread.
bool HasUiThread();

// Runs `work` on the user-interface thread and returns when it has run; runs it at once when
// called there.
void RunOnUiThread(const std::function<void()>& work);

// Queues `work` for the user-interface thread and returns at once.
void PostToUiThread(std::function<void()> work);

}  // namespace kesto::gtk
