// The entry has identifier 100 and callback message 0x8064; its clicks become the window's tray
// notification: 1 left button released, 2 left double-click, 3 right button released or the
// menu key.
#include "runtime/win32/toolkit/tray_icon.h"

#include <windows.h>
// The shell is declared in the types of windows.h.
#include <shellapi.h>

#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/tray_entry.h"
#include "runtime/toolkit_front/window_table.h"
#include "runtime/win32/toolkit/tray_icon_size.h"
#include "runtime/win32/toolkit/ui_thread.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

constexpr UINT kEntryId = 100;
constexpr UINT kCallbackMessage = 0x8064;
// At logon the shell may not take entries yet: the add is tried again every second.
constexpr UINT_PTR kRetryTimer = 0x7E4B;
constexpr UINT kRetryMilliseconds = 1000;

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

NOTIFYICONDATAW EntryOf(const LoadedWindow& window) {
  NOTIFYICONDATAW entry{};
  entry.cbSize = sizeof entry;
  entry.hWnd = window.hwnd();
  entry.uID = kEntryId;
  return entry;
}

bool Submit(LoadedWindow& window, DWORD action) {
  NOTIFYICONDATAW entry = EntryOf(window);
  entry.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  entry.uCallbackMessage = kCallbackMessage;
  entry.hIcon = window.trayIcon;
  const std::wstring tip = ToWide(window.trayTip);
  lstrcpynW(entry.szTip, tip.c_str(), ARRAYSIZE(entry.szTip));
  return Shell_NotifyIconW(action, &entry);
}

// Adds the entry; one the shell refuses is tried again until it takes it, and meanwhile the
// window counts as having none, so that it is never hidden to an entry that is not there. A
// shell that says it has started again may still hold the entry: then it is found there.
void Add(LoadedWindow& window, bool mayHoldIt) {
  window.inTray = Submit(window, NIM_ADD) || (mayHoldIt && Submit(window, NIM_MODIFY));
  if (!window.inTray) {
    SetTimer(window.hwnd(), kRetryTimer, kRetryMilliseconds, nullptr);
    return;
  }
  KillTimer(window.hwnd(), kRetryTimer);
  // In this version the keyboard reaches the entry: Enter or Space selects it, the menu key or
  // Shift+F10 asks for its menu (as a right click then does too).
  NOTIFYICONDATAW entry = EntryOf(window);
  entry.uVersion = NOTIFYICON_VERSION;
  window.trayKeyboard = Shell_NotifyIconW(NIM_SETVERSION, &entry);
}

void Apply(LoadedWindow& window, const Bytes& icon, const Text& tip) {
  HICON previous = window.trayIcon;
  window.trayIcon = TrayIconOf(icon);
  window.trayTip = tip;
  if (!window.wantsTray) {
    // An elevated platform still hears that the shell has started again.
    ChangeWindowMessageFilterEx(window.hwnd(), TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
  }
  window.wantsTray = true;
  // The entry may have gone with Explorer; then it is added again.
  if (!window.inTray || !Submit(window, NIM_MODIFY)) Add(window, false);
  if (previous) DestroyIcon(previous);
}

}  // namespace

void RemoveTrayEntry(LoadedWindow& window) {
  if (!window.wantsTray) return;
  KillTimer(window.hwnd(), kRetryTimer);
  NOTIFYICONDATAW entry = EntryOf(window);
  Shell_NotifyIconW(NIM_DELETE, &entry);
  window.inTray = false;
  window.wantsTray = false;
  if (window.trayIcon) DestroyIcon(window.trayIcon);
  window.trayIcon = nullptr;
}

bool HandleTrayMessage(LoadedWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TaskbarCreatedMessage()) {
    if (window.wantsTray) Add(window, true);
    return true;
  }
  if (message == WM_TIMER && wParam == kRetryTimer) {
    if (window.wantsTray) Add(window, false);
    return true;
  }
  if (message != kCallbackMessage) return false;
  switch (LOWORD(lParam)) {
    case WM_LBUTTONUP:
    case NIN_KEYSELECT:  // Enter or Space on the entry
      front::NotifyTray(window, front::kTrayLeftUp);
      break;
    case WM_LBUTTONDBLCLK:
      front::NotifyTray(window, front::kTrayLeftDouble);
      break;
    case WM_RBUTTONUP:
      if (!window.trayKeyboard) front::NotifyTray(window, front::kTrayRightUp);
      break;
    case WM_CONTEXTMENU:
      front::NotifyTray(window, front::kTrayRightUp);
      break;
    default:
      break;
  }
  return true;
}

}  // namespace kesto::win32

void kesto::front::ShowTrayEntry(LoadedWindow& window, const Bytes& icon, const Text& tip) {
  win32::Apply(static_cast<win32::LoadedWindow&>(window), icon, tip);
}

namespace kesto::ui {

// The notification area is the shell's taskbar window; while it has not taken an entry it was
// given, it holds none for this program.
bool TrayAvailable() {
  bool available = false;
  win32::RunOnUiThread([&] {
    available = FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
    for (const auto& [name, loaded] : front::LoadedWindows()) {
      const auto& window = static_cast<const win32::LoadedWindow&>(*loaded);
      if (window.wantsTray && !window.inTray) available = false;
    }
  });
  return available;
}

}  // namespace kesto::ui
