// The push button and the progress bar, as the system's own controls.

#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include "runtime/toolkit_front/progress_bar_position.h"
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

class ProgressBar : public front::ProgressBarPosition<Control> {
 public:
  using ProgressBarPosition::ProgressBarPosition;

  void Create(HWND parent) override {
    CreateSystemControl(parent, PROGRESS_CLASSW, PBS_SMOOTH);
    SendMessageW(hwnd(), PBM_SETRANGE32, WPARAM(layout().rangeMin), LPARAM(layout().rangeMax));
    ShowPosition();
  }

 private:
  void ShowPosition() override { SendMessageW(hwnd(), PBM_SETPOS, WPARAM(position()), 0); }
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
