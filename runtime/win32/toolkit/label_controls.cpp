// Labels: a text on the label's background; the transparent label draws only its text over
// what lies below it and lets the pointer through to it.
#include "runtime/toolkit_front/label_text.h"
#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/drawing.h"

namespace kesto::win32 {

namespace {

class TextLabel : public front::LabelText<Control> {
 public:
  using LabelText::LabelText;

  void Create(HWND parent) override { CreateDrawnControl(parent); }

  void Paint(HDC dc) override {
    RECT area{};
    GetClientRect(hwnd(), &area);
    const ui::ControlLayout& layout = this->layout();
    if (!Transparent() && layout.backColour != ui::kDefaultColour) {
      FillColour(dc, layout.backColour, area.right, area.bottom);
    } else {
      PaintBackdrop(dc);
    }
    TextLook look;
    look.font = layout.font;
    look.colour = TextColour();
    PaintText(dc, text(), look, area.right, area.bottom);
  }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (message == WM_NCHITTEST && Transparent()) return HTTRANSPARENT;
    return Control::OnMessage(message, wParam, lParam, handled);
  }

 private:
  void Redraw() override { InvalidateRect(hwnd(), nullptr, FALSE); }
};

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakeTextLabel(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::TextLabel>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
