// The push button and the progress bar, as the system's own controls.

#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include <algorithm>

#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/fonted_control.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

class PushButton : public FontedControl {
 public:
  using FontedControl::FontedControl;

  void Create(HWND parent) override {
    CreateSystemControl(parent, WC_BUTTONW, BS_PUSHBUTTON, ToWide(layout().text).c_str());
    UseLayoutFont();
  }

  LRESULT OnReflected(UINT message, WPARAM wParam, LPARAM, bool& handled) override {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
      handled = false;
      return 0;
    }
    auto keep = Hold();
    Fire(ui::Event::kClicked);
    return 0;
  }
};

class ProgressBar : public Control {
 public:
  ProgressBar(LoadedWindow& window, const ui::ControlLayout& layout)
      : Control(window, layout), position_(layout.position) {}

  void Create(HWND parent) override {
    CreateSystemControl(parent, PROGRESS_CLASSW, PBS_SMOOTH);
    SendMessageW(hwnd(), PBM_SETRANGE32, WPARAM(layout().rangeMin), LPARAM(layout().rangeMax));
    SendMessageW(hwnd(), PBM_SETPOS, WPARAM(position_), 0);
  }

  std::optional<ui::Value> Read(int index) override {
    if (index != ui::prop::processbar::kPosition) return std::nullopt;
    return position_;
  }

  bool Write(int index, const ui::Value& value) override {
    if (index != ui::prop::processbar::kPosition) return false;
    position_ =
        std::clamp(IntOf(value), layout().rangeMin, std::max(layout().rangeMin, layout().rangeMax));
    SendMessageW(hwnd(), PBM_SETPOS, WPARAM(position_), 0);
    return true;
  }

 private:
  int position_ = 0;
};

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakePushButton(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::PushButton>(static_cast<win32::LoadedWindow&>(window), layout);
}

std::unique_ptr<Control> MakeProgressBar(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::ProgressBar>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
