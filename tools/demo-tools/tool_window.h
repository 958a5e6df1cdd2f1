// The frame every demo tool shares: a plain window that records itself in qmztx.ini, so that
// the platform can bring it to the front instead of starting it twice and close it when the
// user leaves the platform.
#pragma once

#include <string>

#include "tools/demo-tools/forms/form_window.h"

namespace kesto::demo {

// The key the platform knows a tool by: its program file's name up to the first ".", so the
// same program installed as app\memo\memo.qmz records itself as "memo".
std::string ToolKeyFromFileName(const std::string& fileName);

// Starts the runtime (the tool's folder becomes the current directory, so qmztx.ini is found
// two folders up), shows the window, records its native handle under the tool's key in section
// "jb", and ends the process when the window is closed.
[[noreturn]] void RunToolWindow(int argc, char** argv, const form::FormWindow& window);

}  // namespace kesto::demo
