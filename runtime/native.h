// Native window operations on any program's top-level window, named by its native handle: an
// HWND on Windows, an X11 window id on Linux. Shaped like the Win32 calls the platform makes.
#pragma once

#include <cstdint>

namespace kesto::native {

using Handle = std::intptr_t;

// Show commands as Win32 numbers them.
enum ShowCommand : int {
  kSwHide = 0,
  kSwShowNormal = 1,
  kSwShowMinimized = 2,
  kSwMaximize = 3,
  kSwShowNoActivate = 4,
  kSwShow = 5,
  kSwMinimize = 6,
  kSwRestore = 9,
};

constexpr unsigned kWmClose = 16;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

bool IsWindow(Handle window);
// Shown, minimised or not (WS_VISIBLE): false for a hidden window.
bool IsWindowVisible(Handle window);
bool IsIconic(Handle window);
void ShowWindowAsync(Handle window, int showCommand);
void OpenIcon(Handle window);
void SetForegroundWindow(Handle window);
void ShowWindow(Handle window, int showCommand);
void BringWindowToTop(Handle window);
bool GetWindowRect(Handle window, Rect& rect);
// Gives the window a rounded-rectangle outline of the size and corner radius, redrawn at once.
void SetRoundWindowOutline(Handle window, int width, int height, int radius);
// Posts a message without waiting; WM_CLOSE asks the window to close.
void PostMessage(Handle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam);
// The process that made the window (GetWindowThreadProcessId); 0 when the window is gone or
// does not say.
std::uint32_t WindowProcessId(Handle window);

}  // namespace kesto::native
