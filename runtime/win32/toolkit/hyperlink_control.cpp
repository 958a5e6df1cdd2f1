// The link box: its caption in the link colours (normal, under the pointer, visited). A press
// of the left button runs its handler and then, unless the handler said false, opens its web
// address in the default web browser.
#include "runtime/win32/toolkit/control_windows.h"
#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/drawing.h"
#include "runtime/win32/toolkit/open_address.h"

namespace kesto::win32 {

namespace {

class HyperLink : public Control {
 public:
  using Control::Control;

  void Create(HWND parent) override { CreateDrawnControl(parent); }

  std::optional<ui::Value> Read(int index) override {
    if (index != ui::prop::hyperlinker::kWebAddress) return std::nullopt;
    return address_;
  }

  bool Write(int index, const ui::Value& value) override {
    if (index != ui::prop::hyperlinker::kWebAddress) return false;
    address_ = TextOf(value);
    return true;
  }

  void Paint(HDC dc) override {
    RECT area{};
    GetClientRect(hwnd(), &area);
    if (layout().backColour != ui::kDefaultColour) {
      FillColour(dc, layout().backColour, area.right, area.bottom);
    } else {
      PaintBackdrop(dc);
    }
    TextLook look;
    look.font = layout().font;
    look.colour = LinkColour();
    look.centred = true;
    PaintText(dc, layout().text, look, area.right, area.bottom);
  }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    switch (message) {
      case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      case WM_MOUSEMOVE:
        if (!hovered_) {
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
          TrackMouseEvent(&track);
          SetHovered(true);
        }
        return 0;
      case WM_MOUSELEAVE:
        SetHovered(false);
        return 0;
      case WM_LBUTTONDOWN:
        Press(lParam);
        return 0;
      default:
        return Control::OnMessage(message, wParam, lParam, handled);
    }
  }

 private:
  std::uint32_t LinkColour() const {
    const std::vector<std::uint32_t>& colours = layout().linkColours;
    const std::size_t slot = visited_ ? 2 : hovered_ ? 1 : 0;
    if (slot < colours.size() && colours[slot] != ui::kDefaultColour) return colours[slot];
    return visited_ ? 0x800080 : 0x0000FF;
  }

  void SetHovered(bool hovered) {
    hovered_ = hovered;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  void Press(LPARAM lParam) {
    auto keep = Hold();
    ui::EventArgs args;
    args.a = short(LOWORD(lParam));
    args.b = short(HIWORD(lParam));
    args.c = CurrentKeyState();
    const ui::EventResult result = Fire(ui::Event::kLeftButtonDown, args);
    if (result == false || !IsWindow(hwnd())) return;
    if (OpenInDefaultBrowser(address_)) {
      visited_ = true;
      InvalidateRect(hwnd(), nullptr, FALSE);
    }
  }

  Text address_;
  bool hovered_ = false;
  bool visited_ = false;
};

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakeHyperLink(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::HyperLink>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
