#include "runtime/win32/toolkit/work_area.h"

#include <algorithm>

namespace kesto::win32 {

namespace {

RECT WorkAreaOf(HWND hwnd) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return monitor.rcWork;
  }
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// The window at its layout's size cut down to the area; the system may have made it smaller
// already when it was created. A control whose layout reaches past the smaller client area
// loses what the window lost, so that the purchase window's browser box, which fills the
// window, fills the smaller one with its frame hidden as before.
void FitInto(LoadedWindow& window, const RECT& area) {
  const ui::WindowLayout& layout = window.layout();
  const int width = std::min(layout.width, int(area.right - area.left));
  const int height = std::min(layout.height, int(area.bottom - area.top));
  const int lostWidth = layout.width - width, lostHeight = layout.height - height;
  if (lostWidth == 0 && lostHeight == 0) return;
  SetWindowPos(window.hwnd(), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(window.hwnd(), &client);
  for (const auto& listed : window.controls()) {
    const Control& control = static_cast<const Control&>(*listed);
    const ui::ControlLayout& place = control.layout();
    if (!control.hwnd() || !place.container.empty()) continue;
    const bool cutAcross = place.left + place.width > client.right;
    const bool cutDown = place.top + place.height > client.bottom;
    if (!cutAcross && !cutDown) continue;
    SetWindowPos(control.hwnd(), nullptr, 0, 0,
                 std::max(place.width - (cutAcross ? lostWidth : 0), 0),
                 std::max(place.height - (cutDown ? lostHeight : 0), 0),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace

void CentreInWorkArea(LoadedWindow& window) {
  HWND hwnd = window.hwnd();
  const RECT area = WorkAreaOf(hwnd);
  if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) FitInto(window, area);
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  const int x = area.left + (area.right - area.left - (outer.right - outer.left)) / 2;
  const int y = area.top + (area.bottom - area.top - (outer.bottom - outer.top)) / 2;
  SetWindowPos(hwnd, nullptr, std::max(x, int(area.left)), std::max(y, int(area.top)), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kesto::win32
