// Loading a window from its layout: the Win32 window with its border, icon and place, its
// controls in their containers, then the created event; and closing it again.
#include <set>

#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/top_window.h"
#include "runtime/win32/toolkit/ui_thread.h"
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

bool LoadNow(const Text& name) {
  // An open window comes to the front; one whose being-destroyed event runs is replaced.
  if (std::shared_ptr<LoadedWindow> loaded = FindLoadedWindow(name);
      loaded && !loaded->destroying) {
    if (IsWindowVisible(loaded->hwnd())) SetForegroundWindow(loaded->hwnd());
    return true;
  }
  const ui::WindowLayout* layout = ui::FindWindowLayout(name);
  if (!layout) return false;
  std::shared_ptr<LoadedWindow> loaded = Build(*layout);
  if (!loaded) return false;
  RegisterLoadedWindow(loaded);
  if (layout->visible) {
    ShowWindow(loaded->hwnd(), SW_SHOWNORMAL);
    UpdateWindow(loaded->hwnd());
  }
  loaded->Fire("", ui::Event::kCreated);
  return true;
}

}  // namespace

}  // namespace kesto::win32

namespace kesto::ui {

bool LoadWindow(const Text& window) {
  bool loaded = false;
  win32::RunOnUiThread([&] { loaded = win32::LoadNow(window); });
  return loaded;
}

// Always posted, also on the user-interface thread: the window goes after the caller returns.
// The request is for the window loaded now; one loaded anew later is not closed by it.
void CloseWindow(const Text& window) {
  if (win32::IsUiThread()) {
    std::weak_ptr<win32::LoadedWindow> loaded = win32::FindLoadedWindow(window);
    win32::PostToUiThread([loaded] { win32::DestroyLoadedWindow(loaded.lock()); });
  } else {
    win32::PostToUiThread(
        [window] { win32::DestroyLoadedWindow(win32::FindLoadedWindow(window)); });
  }
}

}  // namespace kesto::ui
