// Message boxes: MessageBoxW with the flags as given. Off the user-interface thread (the update
// worker) the box belongs to the calling thread, so it blocks only that thread and the windows
// go on working meanwhile.
#include <windows.h>
// windows.h names its MessageBoxW macro after the toolkit operation this file defines.
#undef MessageBox

#include "runtime/toolkit.h"
#include "runtime/win32/wide_text.h"

namespace kesto::toolkit {

namespace {

// A box closed without a button counts as Cancel where there is one, otherwise as the last
// button.
int ClosedResult(int flags) {
  switch (flags & 0xF) {
    case MB_OK:
      return kIdOk;
    case MB_ABORTRETRYIGNORE:
      return kIdIgnore;
    case MB_YESNO:
      return kIdNo;
    default:
      return kIdCancel;
  }
}

}  // namespace

int MessageBox(const Text& text, const Text& caption, int flags) {
  // Without an owner the box could open behind the program's own windows.
  const int pressed = ::MessageBoxW(nullptr, win32::ToWide(text).c_str(),
                                    win32::ToWide(caption).c_str(), UINT(flags) | MB_SETFOREGROUND);
  // The system numbers its buttons from IDOK = 1 on in the order of MessageResult; a box that
  // could not be shown counts as closed.
  if (pressed <= 0) return ClosedResult(flags);
  return pressed - IDOK + kIdOk;
}

}  // namespace kesto::toolkit
