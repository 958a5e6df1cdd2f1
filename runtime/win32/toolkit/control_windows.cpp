#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include "runtime/win32/toolkit/control_windows.h"
#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::win32 {

namespace {

constexpr wchar_t kControlProperty[] = L"KestoControl";
constexpr UINT_PTR kSubclassId = 1;

LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  LRESULT result = ReflectToChild(message, wParam, lParam, handled);
  if (handled) return result;
  if (Control* control = ControlOf(hwnd)) {
    handled = true;
    return control->OnMessage(message, wParam, lParam, handled);
  }
  return 0;
}

// Drawn into memory first, so a control and what shows through it never flicker.
void PaintBuffered(HWND hwnd, Control* control) {
  PAINTSTRUCT paint;
  HDC screen = BeginPaint(hwnd, &paint);
  RECT area;
  GetClientRect(hwnd, &area);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, area.right, area.bottom);
  HGDIOBJ previous = SelectObject(memory, canvas);
  FillRect(memory, &area, GetSysColorBrush(COLOR_WINDOW));
  if (control) control->Paint(memory);
  BitBlt(screen, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteObject(canvas);
  DeleteDC(memory);
  EndPaint(hwnd, &paint);
}

LRESULT CALLBACK DrawnProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  const LRESULT result = Dispatch(hwnd, message, wParam, lParam, handled);
  if (handled) return result;
  switch (message) {
    case WM_PAINT:
      PaintBuffered(hwnd, ControlOf(hwnd));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCDESTROY:
      RemovePropW(hwnd, kControlProperty);
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    RemovePropW(hwnd, kControlProperty);
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  bool handled = false;
  const LRESULT result = Dispatch(hwnd, message, wParam, lParam, handled);
  if (handled) return result;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

HWND SenderOf(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
      return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<HWND>(lParam);
    default:
      return nullptr;
  }
}

}  // namespace

const wchar_t* DrawnControlClass() {
  static const wchar_t* name = [] {
    WNDCLASSW type{};
    type.style = CS_DBLCLKS;
    type.lpfnWndProc = DrawnProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.lpszClassName = L"KestoControl";
    RegisterClassW(&type);
    return type.lpszClassName;
  }();
  return name;
}

void AttachControl(HWND hwnd, Control* control) {
  SetPropW(hwnd, kControlProperty, control);
  wchar_t type[32] = {};
  GetClassNameW(hwnd, type, 32);
  if (lstrcmpW(type, DrawnControlClass()) != 0) {
    SetWindowSubclass(hwnd, SubclassProc, kSubclassId, 0);
  }
}

Control* ControlOf(HWND hwnd) {
  return hwnd ? static_cast<Control*>(GetPropW(hwnd, kControlProperty)) : nullptr;
}

LRESULT ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = false;
  Control* child = ControlOf(SenderOf(message, wParam, lParam));
  if (!child) return 0;
  handled = true;
  return child->OnReflected(message, wParam, lParam, handled);
}

int CurrentKeyState() {
  auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  return (down(VK_CONTROL) ? 1 : 0) | (down(VK_SHIFT) ? 2 : 0) | (down(VK_MENU) ? 4 : 0);
}

}  // namespace kesto::win32
