// The entry has identifier 100 and callback message 0x8064; its clicks become the window's tray
// notification: 1 left button released, 2 left double-click, 3 right button released or the
// menu key.
#include "runtime/win32/toolkit/tray_icon.h"

#include <windows.h>
// The shell is declared in the types of windows.h.
#include <shellapi.h>

#include "runtime/gbk_chars.h"
#include "runtime/win32/toolkit/drawing.h"
#include "runtime/win32/toolkit/ui_thread.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

constexpr UINT kEntryId = 100;
constexpr UINT kCallbackMessage = 0x8064;
constexpr std::size_t kTipBytes = 62;
enum TrayCode : int { kLeftUp = 1, kLeftDouble = 2, kRightUp = 3 };

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
  const std::wstring tip = ToWide(Text(gbk::CutToBytes(window.trayTip, kTipBytes)));
  lstrcpynW(entry.szTip, tip.c_str(), ARRAYSIZE(entry.szTip));
  return Shell_NotifyIconW(action, &entry);
}

void Apply(LoadedWindow& window, const Bytes& icon, const Text& tip) {
  HICON previous = window.trayIcon;
  window.trayIcon = IconOf(icon, GetSystemMetrics(SM_CXSMICON));
  window.trayTip = tip;
  // The entry may have gone with Explorer; then it is added again.
  if (!window.inTray || !Submit(window, NIM_MODIFY)) Submit(window, NIM_ADD);
  window.inTray = true;
  if (previous) DestroyIcon(previous);
}

void Notify(LoadedWindow& window, int code) {
  auto keep = window.shared_from_this();
  ui::EventArgs args;
  args.a = code;
  window.Fire("", ui::Event::kTrayNotify, args);
}

}  // namespace

void RemoveTrayEntry(LoadedWindow& window) {
  if (!window.inTray) return;
  NOTIFYICONDATAW entry = EntryOf(window);
  Shell_NotifyIconW(NIM_DELETE, &entry);
  window.inTray = false;
  if (window.trayIcon) DestroyIcon(window.trayIcon);
  window.trayIcon = nullptr;
}

bool HandleTrayMessage(LoadedWindow& window, UINT message, WPARAM, LPARAM lParam) {
  if (message == TaskbarCreatedMessage()) {
    if (window.inTray) Submit(window, NIM_ADD);
    return true;
  }
  if (message != kCallbackMessage) return false;
  switch (LOWORD(lParam)) {
    case WM_LBUTTONUP:
      Notify(window, kLeftUp);
      break;
    case WM_LBUTTONDBLCLK:
      Notify(window, kLeftDouble);
      break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      Notify(window, kRightUp);
      break;
    default:
      break;
  }
  return true;
}

}  // namespace kesto::win32

namespace kesto::ui {

void SetTrayIcon(const Text& window, std::optional<Bytes> icon, std::optional<Text> tip) {
  win32::RunOnUiThread([&] {
    win32::LoadedWindow& loaded = win32::LoadedWindowOrFail(window);
    if (icon) {
      win32::Apply(loaded, *icon, tip.value_or(Text{}));
    } else {
      win32::RemoveTrayEntry(loaded);
    }
  });
}

// The notification area is the shell's taskbar window.
bool TrayAvailable() {
  return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

}  // namespace kesto::ui
