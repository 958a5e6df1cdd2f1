// A control of the system's classes shown in the layout's font; the font lives as long as it.
#pragma once

#include "runtime/win32/toolkit/drawing.h"
#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::win32 {

class FontedControl : public Control {
 public:
  using Control::Control;
  ~FontedControl() override {
    if (font_) DeleteObject(font_);
  }

 protected:
  // After the window is made.
  void UseLayoutFont() {
    font_ = FontOf(layout().font);
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }

 private:
  HFONT font_ = nullptr;
};

}  // namespace kesto::win32
