// Native window operations on any program's top-level window, named by its HWND: the Win32
// calls themselves.
#include <windows.h>
// windows.h names its PostMessageW macro after the operation of ours this file defines.
#undef PostMessage

#include "runtime/native.h"

namespace kesto::native {

namespace {

HWND Hwnd(Handle window) {
  return reinterpret_cast<HWND>(window);
}

}  // namespace

bool IsWindow(Handle window) {
  return window != 0 && ::IsWindow(Hwnd(window));
}

bool IsWindowVisible(Handle window) {
  return ::IsWindowVisible(Hwnd(window));
}

bool IsIconic(Handle window) {
  return ::IsIconic(Hwnd(window));
}

void ShowWindowAsync(Handle window, int showCommand) {
  ::ShowWindowAsync(Hwnd(window), showCommand);
}

void OpenIcon(Handle window) {
  ::OpenIcon(Hwnd(window));
}

void SetForegroundWindow(Handle window) {
  ::SetForegroundWindow(Hwnd(window));
}

void ShowWindow(Handle window, int showCommand) {
  ::ShowWindow(Hwnd(window), showCommand);
}

void BringWindowToTop(Handle window) {
  ::BringWindowToTop(Hwnd(window));
}

bool GetWindowRect(Handle window, Rect& rect) {
  RECT got{};
  if (!::GetWindowRect(Hwnd(window), &got)) return false;
  rect = Rect{got.left, got.top, got.right, got.bottom};
  return true;
}

// The window owns the region once it has taken it; a region it refused is ours to delete.
void SetRoundWindowOutline(Handle window, int width, int height, int radius) {
  HRGN region = CreateRoundRectRgn(0, 0, width, height, radius, radius);
  if (!region) return;
  if (!SetWindowRgn(Hwnd(window), region, TRUE)) DeleteObject(region);
}

void PostMessage(Handle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  ::PostMessageW(Hwnd(window), message, WPARAM(wParam), LPARAM(lParam));
}

std::uint32_t WindowProcessId(Handle window) {
  DWORD process = 0;
  if (!IsWindow(window) || !GetWindowThreadProcessId(Hwnd(window), &process)) return 0;
  return process;
}

}  // namespace kesto::native
