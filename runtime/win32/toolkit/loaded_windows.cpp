#include "runtime/win32/toolkit/loaded_windows.h"

#include <algorithm>
#include <functional>

#include "runtime/win32/toolkit/control_windows.h"
#include "runtime/win32/toolkit/drawing.h"
#include "runtime/win32/toolkit/tray_icon.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

constexpr char kWindowNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
constexpr char kControlNotCreated[] = "指定窗口尚未载入";

std::map<Text, std::shared_ptr<LoadedWindow>>& Registry() {
  static std::map<Text, std::shared_ptr<LoadedWindow>> windows;
  return windows;
}

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
    : owner_(owner), layout_(layout) {
  kept_[ui::prop::kTag] = Text{};
  kept_[ui::prop::kMousePointer] = 0;
}

void Control::Adopt(HWND hwnd) {
  hwnd_ = hwnd;
  if (!hwnd_) return;
  AttachControl(hwnd_, this);
  if (layout_.disabled) EnableWindow(hwnd_, FALSE);
}

HWND Control::CreateSystemControl(HWND parent, const wchar_t* type, DWORD style,
                                  const wchar_t* text) {
  const DWORD visible = layout_.visible ? WS_VISIBLE : 0;
  HWND hwnd = CreateWindowExW(0, type, text, WS_CHILD | WS_CLIPSIBLINGS | visible | style,
                              layout_.left, layout_.top, layout_.width, layout_.height, parent,
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
  const ControlType type = layout_.type;
  return owner_.DraggedByBackground() &&
         (type == ControlType::kPicBox || type == ControlType::kLabel ||
          type == ControlType::kProcessBar);
}

ui::Value Control::ReadCommon(int index) const {
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
    case ui::prop::kDisable:
      return !IsWindowEnabled(hwnd_);
    default: {
      auto it = kept_.find(index);
      return it == kept_.end() ? ui::Value{} : it->second;
    }
  }
}

void Control::WriteCommon(int index, const ui::Value& value) {
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
    case ui::prop::kDisable:
      EnableWindow(hwnd_, !BoolOf(value));
      break;
    default:
      kept_[index] = value;
      break;
  }
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
  } else if (parent == owner_.hwnd()) {
    paintOther(parent, [&] { owner_.PaintBackground(dc); });
  }
  // The controls after this one in the same container lie below it.
  bool below = false;
  for (const auto& sibling : owner_.controls()) {
    if (sibling.get() == this) {
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

ui::EventResult Control::Fire(ui::Event event, const ui::EventArgs& args) {
  return owner_.Fire(layout_.name, event, args);
}

std::shared_ptr<LoadedWindow> Control::Hold() const {
  return owner_.shared_from_this();
}

// ---- LoadedWindow ----

LoadedWindow::~LoadedWindow() {
  for (HICON icon : ownIcons) {
    if (icon) DestroyIcon(icon);
  }
}

void LoadedWindow::AddControl(std::unique_ptr<Control> control) {
  controls_.push_back(std::move(control));
}

Control* LoadedWindow::FindControl(const Text& name) const {
  for (const auto& control : controls_) {
    if (control->layout().name == name) return control.get();
  }
  return nullptr;
}

ui::EventResult LoadedWindow::Fire(const Text& control, ui::Event event,
                                   const ui::EventArgs& args) {
  auto keep = shared_from_this();
  for (const ui::EventBinding& binding : layout_.bindings) {
    if (binding.control != control || binding.event != event) continue;
    ui::Handler handler = ui::FindHandler(binding.handler);
    return handler ? handler(args) : ui::EventResult{};
  }
  return {};
}

void LoadedWindow::PaintBackground(HDC dc) const {
  RECT area{};
  GetClientRect(hwnd_, &area);
  if (layout_.backColour == ui::kDefaultColour) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    FillColour(dc, layout_.backColour, area.right, area.bottom);
  }
}

bool LoadedWindow::DraggedByBackground() const {
  return layout_.border == ui::Border::kNone && layout_.movable;
}

// ---- the registry ----

std::shared_ptr<LoadedWindow> FindLoadedWindow(const Text& name) {
  auto it = Registry().find(name);
  return it == Registry().end() ? nullptr : it->second;
}

std::shared_ptr<LoadedWindow> FindLoadedWindow(HWND hwnd) {
  for (const auto& [name, window] : Registry()) {
    if (hwnd && window->hwnd() == hwnd) return window;
  }
  return nullptr;
}

int LoadedWindowCount() {
  return static_cast<int>(Registry().size());
}

void RegisterLoadedWindow(const std::shared_ptr<LoadedWindow>& window) {
  Registry()[window->layout().name] = window;
}

void DestroyLoadedWindow(const std::shared_ptr<LoadedWindow>& window) {
  if (!window || window->destroying || !window->hwnd()) return;
  window->destroying = true;
  window->Fire("", ui::Event::kDestroying);
  RemoveTrayEntry(*window);
  const Text& name = window->layout().name;
  if (FindLoadedWindow(name) == window) Registry().erase(name);
  DestroyWindow(window->hwnd());
  window->SetHwnd(nullptr);
  if (Registry().empty() && message_loop_running) PostQuitMessage(0);
}

LoadedWindow& LoadedWindowOrFail(const Text& window) {
  std::shared_ptr<LoadedWindow> loaded = FindLoadedWindow(window);
  if (!loaded) FatalError(0, kWindowNotLoaded);
  return *loaded;
}

Control& ControlOrFail(const ui::Ref& ref) {
  Control* control = LoadedWindowOrFail(ref.window).FindControl(ref.control);
  if (!control || !control->hwnd()) FatalError(0, kControlNotCreated);
  return *control;
}

void SetMessageLoopRunning(bool running) {
  message_loop_running = running;
}

bool MessageLoopRunning() {
  return message_loop_running;
}

}  // namespace kesto::win32
