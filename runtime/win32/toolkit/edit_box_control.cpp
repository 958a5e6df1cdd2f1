// The edit box: a one-line text entry whose key presses reach the program as virtual keys.

#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include "runtime/win32/toolkit/control_windows.h"
#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/fonted_control.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

class EditBox : public FontedControl {
 public:
  using FontedControl::FontedControl;

  ~EditBox() override {
    if (background_) DeleteObject(background_);
  }

  void Create(HWND parent) override {
    CreateSystemControl(parent, WC_EDITW, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                        ToWide(layout().text).c_str());
    UseLayoutFont();
    if (layout().backColour != ui::kDefaultColour && !HighContrast()) {
      background_ = CreateSolidBrush(ColourRefOf(layout().backColour));
    }
  }

  std::optional<ui::Value> Read(int index) override {
    if (index != ui::prop::editbox::kContent) return std::nullopt;
    std::wstring content(std::size_t(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    content.resize(std::size_t(GetWindowTextW(hwnd(), content.data(), int(content.size()))));
    return FromWide(content);
  }

  bool Write(int index, const ui::Value& value) override {
    if (index != ui::prop::editbox::kContent) return false;
    SetWindowTextW(hwnd(), ToWide(TextOf(value)).c_str());
    return true;
  }

  // The box still takes the key after the handler has seen it.
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (message == WM_KEYDOWN) {
      auto keep = Hold();
      ui::EventArgs args;
      args.a = int(wParam);
      args.b = CurrentKeyState();
      Fire(ui::Event::kKeyDown, args);
    }
    return FontedControl::OnMessage(message, wParam, lParam, handled);
  }

  LRESULT OnReflected(UINT message, WPARAM wParam, LPARAM, bool& handled) override {
    if (message != WM_CTLCOLOREDIT || !background_) {
      handled = false;
      return 0;
    }
    auto dc = reinterpret_cast<HDC>(wParam);
    SetBkColor(dc, ColourRefOf(layout().backColour));
    if (layout().textColour != ui::kDefaultColour) {
      SetTextColor(dc, ColourRefOf(layout().textColour));
    }
    return reinterpret_cast<LRESULT>(background_);
  }

 private:
  HBRUSH background_ = nullptr;
};

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakeEditBox(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::EditBox>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
