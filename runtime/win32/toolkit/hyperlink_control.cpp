// The link box: its caption in the link colours (normal, under the pointer, visited). A press
// of the left button runs its handler and then, unless the handler said false, opens its web
// address in the default web browser.
#include "runtime/toolkit_front/link_box.h"
#include "runtime/win32/toolkit/control_windows.h"
#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/drawing.h"
#include "runtime/win32/toolkit/open_address.h"

namespace kesto::win32 {

namespace {

class HyperLink : public front::LinkBox<Control> {
 public:
  using LinkBox::LinkBox;

  void Create(HWND parent) override { CreateDrawnControl(parent); }

  void Paint(HDC dc) override {
    if (!FillBackColour(dc)) PaintBackdrop(dc);
    RECT area{};
    GetClientRect(hwnd(), &area);
    TextLook look;
    look.font = layout().font;
    look.colour = Colour();
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
        PressAt(lParam);
        return 0;
      default:
        return Control::OnMessage(message, wParam, lParam, handled);
    }
  }

 private:
  bool StandsAfterHandler() const override { return IsWindow(hwnd()); }

  bool OpenInBrowser(const Text& address) override { return OpenInDefaultBrowser(address); }

  void Redraw() override { InvalidateRect(hwnd(), nullptr, FALSE); }

  void SetHovered(bool hovered) {
    hovered_ = hovered;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  void PressAt(LPARAM lParam) {
    ui::EventArgs args;
    args.a = short(LOWORD(lParam));
    args.b = short(HIWORD(lParam));
    args.c = CurrentKeyState();
    Press(args);
  }
};

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakeHyperLink(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::HyperLink>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
