#include "runtime/win32/toolkit/browser/popup_window.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "runtime/win32/toolkit/browser/host.h"
#include "runtime/win32/toolkit/session_end.h"

namespace kesto::win32 {

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 720;

// The open pop-ups by their windows; each goes when its window does.
std::map<HWND, std::unique_ptr<BrowserHost>>& Popups() {
  static std::map<HWND, std::unique_ptr<BrowserHost>> popups;
  return popups;
}

RECT ClientArea(HWND window) {
  RECT area{};
  GetClientRect(window, &area);
  return area;
}

// The browser goes before its window, while the window it lives in is still there; a pop-up
// destroyed with its owner lets its browser go last.
LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT answer = 0;
  if (HandleSessionEndMessage(window, message, wParam, answer)) return answer;
  const auto found = Popups().find(window);
  BrowserHost* host = found == Popups().end() ? nullptr : found->second.get();
  switch (message) {
    case WM_SIZE:
      if (host) host->Move(ClientArea(window));
      return 0;
    case WM_SETFOCUS:
      if (host) host->Focus();
      return 0;
    case WM_CLOSE:
      if (host) Popups().erase(found);
      DestroyWindow(window);
      return 0;
    case WM_NCDESTROY:
      if (host) Popups().erase(found);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* PopupClass() {
  static const wchar_t* name = [] {
    WNDCLASSW type{};
    type.lpfnWndProc = PopupProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    type.lpszClassName = L"KestoPopupBrowser";
    RegisterClassW(&type);
    return type.lpszClassName;
  }();
  return name;
}

// Centred over the opener, inside the work area of its screen.
RECT PlaceOver(HWND owner) {
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &screen);
  const RECT work = screen.rcWork;
  RECT over = work;
  if (owner) GetWindowRect(owner, &over);
  const int width = std::min<int>(kWidth, work.right - work.left);
  const int height = std::min<int>(kHeight, work.bottom - work.top);
  const int left =
      std::clamp<int>((over.left + over.right - width) / 2, work.left, work.right - width);
  const int top =
      std::clamp<int>((over.top + over.bottom - height) / 2, work.top, work.bottom - height);
  return RECT{left, top, left + width, top + height};
}

}  // namespace

// The browser's events come after this returns: the window is in the table by then. A page
// closing its window has it closed by a posted message, once the control's event is over.
IDispatch* OpenPopupWindow(HWND opener) {
  HWND owner = opener ? GetAncestor(opener, GA_ROOT) : nullptr;
  const RECT place = PlaceOver(owner);
  HWND window =
      CreateWindowExW(0, PopupClass(), L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left,
                      place.top, place.right - place.left, place.bottom - place.top, owner, nullptr,
                      GetModuleHandleW(nullptr), nullptr);
  if (!window) return nullptr;
  OwnWindowEvents events;
  events.titleChanged = [window](const std::wstring& title) {
    SetWindowTextW(window, title.c_str());
  };
  events.closing = [window] { PostMessageW(window, WM_CLOSE, 0, 0); };
  auto host = BrowserHost::Create(window, ClientArea(window), nullptr, std::move(events));
  IDispatch* automation = host ? host->Automation() : nullptr;
  if (!automation) {
    DestroyWindow(window);
    return nullptr;
  }
  Popups()[window] = std::move(host);
  ShowWindow(window, SW_SHOWNORMAL);
  return automation;
}

bool PopupTookKey(MSG& message) {
  for (auto& [window, host] : Popups()) {
    if (host->TranslateKey(message)) return true;
  }
  return false;
}

}  // namespace kesto::win32
