// Fetching the missing updater program: the update window's worker reads the update list,
// fetches the updater the vendor's signed feed describes while the progress bar moves, saves it
// as up.qmz, starts it and ends the platform.
#pragma once

#include "runtime/core.h"
#include "runtime/ui.h"

namespace kesto::net {

// "http://<update host>:<port>/app/up/1.txt" from the built-in settings.
Text UpdateListAddress();
// Tests point the worker at their own server; an empty address restores the built-in one.
void OverrideUpdateListAddress(const Text& address);

// The worker: runs the whole flow and ends the process.
[[noreturn]] void UpdateThread();

// The update window's created handler: starts UpdateThread on a thread of its own.
ui::EventResult OnUpdateWindowCreated(const ui::EventArgs& args);

}  // namespace kesto::net
