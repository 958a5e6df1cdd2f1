// Picture buttons (a picture, another while the pointer is over them and while pressed,
// clicked on release) and picture boxes (a background, a picture fitted into the box, and room
// for other controls).
#include <vector>

#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/drawing.h"

namespace kesto::win32 {

namespace {

enum PictureSlot : std::size_t { kNormal = 0, kHover = 1, kPressed = 2 };

class PictureButton : public Control {
 public:
  PictureButton(LoadedWindow& window, const ui::ControlLayout& layout) : Control(window, layout) {
    for (const ui::Picture& picture : layout.pictures) {
      pictures_.push_back(DecodeBitmap(picture.ToBytes()));
    }
  }

  void Create(HWND parent) override { CreateDrawnControl(parent); }

  void Paint(HDC dc) override {
    PaintBackdrop(dc);
    RECT area{};
    GetClientRect(hwnd(), &area);
    if (const Bitmap* shown = Shown()) shown->Paint(dc, 0, 0, area.right, area.bottom);
  }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    switch (message) {
      case WM_MOUSEMOVE:
        if (!hovered_) {
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
          TrackMouseEvent(&track);
          SetLook(true, pressed_);
        }
        return 0;
      case WM_MOUSELEAVE:
        SetLook(false, pressed_);
        return 0;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        SetCapture(hwnd());
        SetLook(hovered_, true);
        return 0;
      case WM_LBUTTONUP:
        return Release(lParam);
      case WM_CAPTURECHANGED:
        SetLook(hovered_, false);
        return 0;
      default:
        return Control::OnMessage(message, wParam, lParam, handled);
    }
  }

 private:
  const Bitmap* At(std::size_t slot) const {
    return slot < pictures_.size() && !pictures_[slot]->IsEmpty() ? pictures_[slot].get() : nullptr;
  }

  const Bitmap* Shown() const {
    if (pressed_ && At(kPressed)) return At(kPressed);
    if ((hovered_ || pressed_) && At(kHover)) return At(kHover);
    return At(kNormal);
  }

  void SetLook(bool hovered, bool pressed) {
    if (hovered == hovered_ && pressed == pressed_) return;
    hovered_ = hovered;
    pressed_ = pressed;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  // A click is a press and a release of the left button, both on the button.
  LRESULT Release(LPARAM lParam) {
    const bool wasPressed = pressed_;
    if (GetCapture() == hwnd()) ReleaseCapture();
    SetLook(hovered_, false);
    RECT area{};
    GetClientRect(hwnd(), &area);
    const POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
    if (wasPressed && PtInRect(&area, at)) {
      auto keep = Hold();
      Fire(ui::Event::kClicked);
    }
    return 0;
  }

  std::vector<std::unique_ptr<Bitmap>> pictures_;
  bool hovered_ = false;
  bool pressed_ = false;
};

class PictureBox : public Control {
 public:
  PictureBox(LoadedWindow& window, const ui::ControlLayout& layout) : Control(window, layout) {
    if (!layout.pictures.empty()) picture_ = DecodeBitmap(layout.pictures[0].ToBytes());
  }

  void Create(HWND parent) override { CreateDrawnControl(parent); }

  HWND ChildArea(int) override { return hwnd(); }

  // The background, then the picture scaled to fit inside the box, centred.
  void Paint(HDC dc) override {
    if (!FillBackColour(dc)) PaintBackdrop(dc);
    if (!picture_ || picture_->IsEmpty()) return;
    RECT area{};
    GetClientRect(hwnd(), &area);
    const double scale =
        std::min(double(area.right) / picture_->width(), double(area.bottom) / picture_->height());
    const int w = int(picture_->width() * scale);
    const int h = int(picture_->height() * scale);
    picture_->Paint(dc, (area.right - w) / 2, (area.bottom - h) / 2, w, h);
  }

 private:
  std::unique_ptr<Bitmap> picture_;
};

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakePictureButton(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::PictureButton>(static_cast<win32::LoadedWindow&>(window), layout);
}

std::unique_ptr<Control> MakePictureBox(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::PictureBox>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
