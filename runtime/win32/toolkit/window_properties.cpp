// The native side of the window's own properties: place and size, visibility with the window
// state, title and icon.
#include "runtime/win32/toolkit/window_properties.h"

#include "runtime/toolkit_front/back_end.h"
#include "runtime/win32/toolkit/drawing.h"
#include "runtime/win32/toolkit/work_area.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

namespace wp = ui::prop::window;

bool Shown(const LoadedWindow& window) {
  return IsWindowVisible(window.hwnd());
}

// Applies the state to a window that is on screen.
void ApplyState(LoadedWindow& window, int state) {
  HWND hwnd = window.hwnd();
  switch (state) {
    case ui::kStateMinimised:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case ui::kStateMaximised:
      ShowWindow(hwnd, SW_MAXIMIZE);
      break;
    case ui::kStateCentred:
      if (IsIconic(hwnd) || IsZoomed(hwnd)) ShowWindow(hwnd, SW_RESTORE);
      CentreInWorkArea(window);
      break;
    default:
      if (IsIconic(hwnd) || IsZoomed(hwnd)) ShowWindow(hwnd, SW_RESTORE);
      break;
  }
}

// A window shown again comes up in its remembered state; centred means centred now.
void SetVisible(LoadedWindow& window, bool visible) {
  HWND hwnd = window.hwnd();
  if (!visible) {
    ShowWindow(hwnd, SW_HIDE);
    return;
  }
  if (Shown(window)) return;
  switch (window.windowState) {
    case ui::kStateMinimised:
      ShowWindow(hwnd, SW_SHOWMINIMIZED);
      break;
    case ui::kStateMaximised:
      ShowWindow(hwnd, SW_SHOWMAXIMIZED);
      break;
    case ui::kStateCentred:
      CentreInWorkArea(window);
      ShowWindow(hwnd, SW_SHOWNORMAL);
      break;
    default:
      ShowWindow(hwnd, SW_SHOWNORMAL);
      break;
  }
}

Text TitleOf(HWND hwnd) {
  std::wstring title(std::size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  title.resize(std::size_t(GetWindowTextW(hwnd, title.data(), int(title.size()))));
  return FromWide(title);
}

RECT OuterRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

}  // namespace

void SetWindowIcon(LoadedWindow& window, const Bytes& iconFile) {
  static HICON programIcon = nullptr;
  static HICON programSmallIcon = nullptr;
  HICON big = IconOf(iconFile, GetSystemMetrics(SM_CXICON));
  HICON small = IconOf(iconFile, GetSystemMetrics(SM_CXSMICON));
  if (!big) {
    big = programIcon;
    small = programSmallIcon;
  } else if (!programIcon) {
    programIcon = CopyIcon(big);
    programSmallIcon = small ? CopyIcon(small) : nullptr;
  }
  HWND hwnd = window.hwnd();
  SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : big));
  // The window's own icons live as long as it shows them; the program's are shared.
  for (HICON old : window.ownIcons) DestroyIcon(old);
  window.ownIcons.clear();
  if (big && big != programIcon) window.ownIcons = {big, small};
}

}  // namespace kesto::win32

namespace kesto::front {

namespace {

win32::LoadedWindow& Native(LoadedWindow& window) {
  return static_cast<win32::LoadedWindow&>(window);
}

}  // namespace

std::optional<ui::Value> ReadNativeWindowProperty(LoadedWindow& loaded, int index) {
  win32::LoadedWindow& window = Native(loaded);
  HWND hwnd = window.hwnd();
  const RECT outer = win32::OuterRect(hwnd);
  switch (index) {
    case ui::prop::kLeft:
      return int(outer.left);
    case ui::prop::kTop:
      return int(outer.top);
    case ui::prop::kWidth:
      return int(outer.right - outer.left);
    case ui::prop::kHeight:
      return int(outer.bottom - outer.top);
    case ui::prop::kVisible:
      return win32::Shown(window);
    case ui::prop::kDisable:
      return !IsWindowEnabled(hwnd);
    case win32::wp::kTitle:
      return win32::TitleOf(hwnd);
    default:
      return std::nullopt;
  }
}

bool WriteNativeWindowProperty(LoadedWindow& loaded, int index, const ui::Value& value) {
  win32::LoadedWindow& window = Native(loaded);
  HWND hwnd = window.hwnd();
  const RECT outer = win32::OuterRect(hwnd);
  int left = outer.left, top = outer.top;
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop:
      (index == ui::prop::kLeft ? left : top) = ui::IntOf(value);
      SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return true;
    case ui::prop::kWidth:
    case ui::prop::kHeight:
      (index == ui::prop::kWidth ? width : height) = std::max(ui::IntOf(value), 1);
      SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return true;
    case ui::prop::kVisible:
      win32::SetVisible(window, ui::BoolOf(value));
      return true;
    case ui::prop::kDisable:
      EnableWindow(hwnd, !ui::BoolOf(value));
      return true;
    case win32::wp::kTitle:
      SetWindowTextW(hwnd, win32::ToWide(ui::TextOf(value)).c_str());
      return true;
    default:
      return false;
  }
}

bool WindowShown(LoadedWindow& window) {
  return win32::Shown(Native(window));
}

std::optional<int> MinimisedOrMaximised(LoadedWindow& window) {
  HWND hwnd = Native(window).hwnd();
  if (IsIconic(hwnd)) return int(ui::kStateMinimised);
  if (IsZoomed(hwnd)) return int(ui::kStateMaximised);
  return std::nullopt;
}

void ApplyWindowState(LoadedWindow& window, int state) {
  win32::ApplyState(Native(window), state);
}

void ShowWindowIcon(LoadedWindow& window, const Bytes& iconFile) {
  win32::SetWindowIcon(Native(window), iconFile);
}

}  // namespace kesto::front
