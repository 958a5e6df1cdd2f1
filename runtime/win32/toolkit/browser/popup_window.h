// A page's pop-up (target=_blank, window.open) in a window of the program's own that holds a
// browser control of its own: in this process, so it keeps the seller's session, and handed to
// the page's browser as the new window, so the page reaches it with its POST body, Referer and
// window.opener. It closes with its close box or the page's window.close().
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace kesto::win32 {

// Makes a pop-up window over the top-level window of `opener`, its browser waiting for the
// page; returns that browser's automation object (a reference for the caller), or nullptr when
// none could be made.
IDispatch* OpenPopupWindow(HWND opener);

// For the message loop: offers a key message to the pop-ups' browsers (BrowserHost::TranslateKey).
bool PopupTookKey(MSG& message);

}  // namespace kesto::win32
