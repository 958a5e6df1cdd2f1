#include "runtime/win32/toolkit/loaded_windows.h"

#include <algorithm>
#include <functional>

#include "runtime/win32/toolkit/control_windows.h"
#include "runtime/win32/toolkit/drawing.h"
#include "runtime/win32/toolkit/tray_icon.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

bool message_loop_running = false;

// The control's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

// ---- Control ----

Control::Control(LoadedWindow& owner, const ui::ControlLayout& layout)
    : front::Control(owner, layout) {}

void Control::Adopt(HWND hwnd) {
  hwnd_ = hwnd;
  if (!hwnd_) return;
  AttachControl(hwnd_, this);
  if (layout().disabled) EnableWindow(hwnd_, FALSE);
}

HWND Control::CreateSystemControl(HWND parent, const wchar_t* type, DWORD style,
                                  const wchar_t* text) {
  const DWORD visible = layout().visible ? WS_VISIBLE : 0;
  HWND hwnd = CreateWindowExW(0, type, text, WS_CHILD | WS_CLIPSIBLINGS | visible | style,
                              layout().left, layout().top, layout().width, layout().height, parent,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  Adopt(hwnd);
  return hwnd;
}

HWND Control::CreateDrawnControl(HWND parent, DWORD extraStyle) {
  return CreateSystemControl(parent, DrawnControlClass(), WS_CLIPCHILDREN | extraStyle);
}

LRESULT Control::OnMessage(UINT message, WPARAM, LPARAM, bool& handled) {
  if (message == WM_NCHITTEST && DragsWindow()) return HTTRANSPARENT;
  handled = false;
  return 0;
}

bool Control::DragsWindow() const {
  using ui::ControlType;
  const ControlType type = layout().type;
  return owner().DraggedByBackground() &&
         (type == ControlType::kPicBox || type == ControlType::kLabel ||
          type == ControlType::kProcessBar);
}

ui::Value Control::ReadNative(int index) const {
  const RECT place = PlaceOf(hwnd_);
  switch (index) {
    case ui::prop::kLeft:
      return int(place.left);
    case ui::prop::kTop:
      return int(place.top);
    case ui::prop::kWidth:
      return int(place.right - place.left);
    case ui::prop::kHeight:
      return int(place.bottom - place.top);
    case ui::prop::kVisible:
      return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    default:  // ui::prop::kDisable
      return !IsWindowEnabled(hwnd_);
  }
}

void Control::WriteNative(int index, const ui::Value& value) {
  RECT place = PlaceOf(hwnd_);
  int left = place.left, top = place.top;
  int width = place.right - place.left, height = place.bottom - place.top;
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop:
      (index == ui::prop::kLeft ? left : top) = IntOf(value);
      SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case ui::prop::kWidth:
    case ui::prop::kHeight:
      (index == ui::prop::kWidth ? width : height) = std::max(IntOf(value), 0);
      SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case ui::prop::kVisible:
      ShowWindow(hwnd_, BoolOf(value) ? SW_SHOWNA : SW_HIDE);
      break;
    default:  // ui::prop::kDisable
      EnableWindow(hwnd_, !BoolOf(value));
      break;
  }
}

bool Control::FillBackColour(HDC dc) const {
  if (layout().backColour == ui::kDefaultColour) return false;
  RECT area{};
  GetClientRect(hwnd_, &area);
  FillColour(dc, layout().backColour, area.right, area.bottom);
  return true;
}

void Control::PaintBackdrop(HDC dc) {
  auto paintOther = [&](HWND other, const std::function<void()>& paint) {
    POINT origin{0, 0};
    MapWindowPoints(other, hwnd_, &origin, 1);
    RECT area{};
    GetClientRect(other, &area);
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    IntersectClipRect(dc, 0, 0, area.right, area.bottom);
    paint();
    RestoreDC(dc, saved);
  };
  HWND parent = GetParent(hwnd_);
  if (Control* container = ControlOf(parent)) {
    paintOther(parent, [&] { container->Paint(dc); });
  } else if (parent == owner().hwnd()) {
    paintOther(parent, [&] { owner().PaintBackground(dc); });
  }
  // The controls after this one in the same container lie below it.
  bool below = false;
  for (const auto& listed : owner().controls()) {
    auto* sibling = static_cast<Control*>(listed.get());
    if (sibling == this) {
      below = true;
      continue;
    }
    if (!below || !sibling->hwnd() || GetParent(sibling->hwnd()) != parent ||
        !IsWindowVisible(sibling->hwnd())) {
      continue;
    }
    paintOther(sibling->hwnd(), [&] { sibling->Paint(dc); });
  }
}

// ---- LoadedWindow ----

LoadedWindow::~LoadedWindow() {
  for (HICON icon : ownIcons) {
    if (icon) DestroyIcon(icon);
  }
}

void LoadedWindow::PaintBackground(HDC dc) const {
  RECT area{};
  GetClientRect(hwnd_, &area);
  if (layout().backColour == ui::kDefaultColour) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    FillColour(dc, layout().backColour, area.right, area.bottom);
  }
}

void LoadedWindow::RemoveTrayEntry() {
  win32::RemoveTrayEntry(*this);
}

void LoadedWindow::DestroyNative() {
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

// ---- the table of loaded windows, with Win32's types ----

std::shared_ptr<LoadedWindow> FindLoadedWindow(HWND hwnd) {
  for (const auto& [name, window] : front::LoadedWindows()) {
    auto loaded = std::static_pointer_cast<LoadedWindow>(window);
    if (hwnd && loaded->hwnd() == hwnd) return loaded;
  }
  return nullptr;
}

void SetMessageLoopRunning(bool running) {
  message_loop_running = running;
}

bool MessageLoopRunning() {
  return message_loop_running;
}

}  // namespace kesto::win32
