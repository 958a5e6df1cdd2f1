#include "runtime/win32/toolkit/top_window.h"

#include "runtime/win32/toolkit/control_windows.h"
#include "runtime/win32/toolkit/loaded_windows.h"
#include "runtime/win32/toolkit/session_end.h"
#include "runtime/win32/toolkit/tray_icon.h"

namespace kesto::win32 {

namespace {

LRESULT CALLBACK TopWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  const LRESULT reflected = ReflectToChild(message, wParam, lParam, handled);
  if (handled) return reflected;
  std::shared_ptr<LoadedWindow> window = FindLoadedWindow(hwnd);
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (HandleTrayMessage(*window, message, wParam, lParam)) return 0;
  LRESULT answer = 0;
  if (HandleSessionEndMessage(hwnd, message, wParam, answer)) return answer;
  switch (message) {
    case WM_NCHITTEST: {
      const LRESULT hit = DefWindowProcW(hwnd, message, wParam, lParam);
      return hit == HTCLIENT && window->DraggedByBackground() ? HTCAPTION : hit;
    }
    case WM_ERASEBKGND:
      window->PaintBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_CLOSE:
      DestroyLoadedWindow(window);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

const wchar_t* TopWindowClass() {
  static const wchar_t* name = [] {
    WNDCLASSW type{};
    type.lpfnWndProc = TopWindowProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.lpszClassName = L"KestoWindow";
    RegisterClassW(&type);
    return type.lpszClassName;
  }();
  return name;
}

}  // namespace kesto::win32
