// The platform is unaware of the screen's scale (GDI scaling draws its fixed layouts sharp), so
// Windows tells it 96 dpi's sizes: a 16-pixel small icon at any scale, which the shell, drawing
// the notification area at the screen's own resolution, would stretch. The size is asked for
// instead as a program aware of the taskbar's monitor sees it, for this call alone. Windows
// before 10 (1607) has no such calls; there the system's answer stands.
#include "runtime/win32/toolkit/tray_icon_size.h"

#include "runtime/image/icon_file.h"
#include "runtime/win32/toolkit/drawing.h"

namespace kesto::win32 {

namespace {

using AwarenessContext = HANDLE;
const AwarenessContext kPerMonitorAware = reinterpret_cast<AwarenessContext>(-3);
using SetContextCall = AwarenessContext(WINAPI*)(AwarenessContext);
using WindowDpiCall = UINT(WINAPI*)(HWND);
using MetricsForDpiCall = int(WINAPI*)(int, UINT);

template <typename Call>
Call User32(const char* name) {
  return reinterpret_cast<Call>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int TrayIconSize() {
  static const auto setContext = User32<SetContextCall>("SetThreadDpiAwarenessContext");
  static const auto windowDpi = User32<WindowDpiCall>("GetDpiForWindow");
  static const auto metricsForDpi = User32<MetricsForDpiCall>("GetSystemMetricsForDpi");
  int size = GetSystemMetrics(SM_CXSMICON);
  if (!setContext || !windowDpi || !metricsForDpi) return size;
  const AwarenessContext previous = setContext(kPerMonitorAware);
  if (!previous) return size;
  const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  const UINT dpi = taskbar ? windowDpi(taskbar) : 0;
  size = dpi ? metricsForDpi(SM_CXSMICON, dpi) : GetSystemMetrics(SM_CXSMICON);
  setContext(previous);
  return size;
}

HICON TrayIconOf(const Bytes& iconFile) {
  std::optional<image::RgbaImage> picture = image::IconImageAtSize(iconFile, TrayIconSize());
  return picture ? IconOf(*picture) : nullptr;
}

}  // namespace kesto::win32
