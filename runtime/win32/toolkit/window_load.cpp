// Building a window from its layout: the Win32 window with its border, icon and place, and its
// controls in their containers.
#include <set>

#include "runtime/toolkit_front/back_end.h"
#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/top_window.h"
#include "runtime/win32/toolkit/window_properties.h"
#include "runtime/win32/toolkit/work_area.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

DWORD StyleOf(const ui::WindowLayout& layout) {
  const DWORD frame = layout.border == ui::Border::kNone ? WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX
                                                         : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  return frame | WS_CLIPCHILDREN;
}

DWORD ExtendedStyleOf(const ui::WindowLayout& layout) {
  return (layout.topmost ? WS_EX_TOPMOST : 0) | (layout.showInTaskbar ? 0 : WS_EX_TOOLWINDOW);
}

// Containers are made before what they contain, whatever the layout's order.
void CreateWithContainer(LoadedWindow& window, Control& control, std::set<Control*>& made) {
  if (!made.insert(&control).second) return;
  HWND parent = window.hwnd();
  const ui::ControlLayout& layout = control.layout();
  if (!layout.container.empty()) {
    if (Control* container = window.FindControl(layout.container)) {
      CreateWithContainer(window, *container, made);
      if (HWND area = container->ChildArea(layout.page)) parent = area;
    }
  }
  control.Create(parent);
}

void CreateControls(LoadedWindow& window) {
  for (const ui::ControlLayout& control : window.layout().controls) {
    if (auto made = front::MakeControl(window, control)) {
      window.AddControl(std::move(made));
    }
  }
  std::set<Control*> made;
  for (const auto& control : window.controls()) {
    CreateWithContainer(window, static_cast<Control&>(*control), made);
  }
  // An earlier control lies above a later one of the same container: each goes to the bottom
  // in turn.
  for (const auto& listed : window.controls()) {
    HWND control = static_cast<Control&>(*listed).hwnd();
    if (!control) continue;
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

std::shared_ptr<LoadedWindow> Build(const ui::WindowLayout& layout) {
  auto loaded = std::make_shared<LoadedWindow>(layout);
  HWND hwnd =
      CreateWindowExW(ExtendedStyleOf(layout), TopWindowClass(), ToWide(layout.title).c_str(),
                      StyleOf(layout), layout.left, layout.top, layout.width, layout.height,
                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  loaded->SetHwnd(hwnd);
  SetWindowIcon(*loaded, layout.icon.ToBytes());
  CreateControls(*loaded);
  if (layout.centred) CentreInWorkArea(*loaded);
  return loaded;
}

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::shared_ptr<LoadedWindow> BuildWindow(const ui::WindowLayout& layout) {
  return win32::Build(layout);
}

void ShowNewWindow(LoadedWindow& window) {
  HWND hwnd = static_cast<win32::LoadedWindow&>(window).hwnd();
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
}

void RaiseWindow(LoadedWindow& window) {
  HWND hwnd = static_cast<win32::LoadedWindow&>(window).hwnd();
  if (IsWindowVisible(hwnd)) SetForegroundWindow(hwnd);
}

}  // namespace kesto::front
