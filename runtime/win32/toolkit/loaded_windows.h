// The windows loaded from their layouts and their controls, as Win32 windows of the
// user-interface thread.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/native.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::win32 {

class LoadedWindow;

// One control of a loaded window; each control type derives from it.
class Control : public front::Control {
 public:
  Control(LoadedWindow& owner, const ui::ControlLayout& layout);

  LoadedWindow& owner() const;
  HWND hwnd() const { return hwnd_; }
  bool HasNative() const override { return hwnd_ != nullptr; }

  // Makes the native window inside `parent`, at the layout's place.
  virtual void Create(HWND parent) = 0;
  // What takes the keyboard focus for it.
  virtual HWND FocusTarget() { return hwnd_; }
  // Where the controls it contains go: a PicBox itself, a Tab's page; nullptr for the rest.
  virtual HWND ChildArea(int /*page*/) { return nullptr; }

  // Drawn controls paint themselves here, in their own client coordinates; a container also
  // paints the background its transparent children show.
  virtual void Paint(HDC /*dc*/) {}
  // A message to the control's own window; `handled` false lets the default go on.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // A notification the control's window sent to its parent (WM_COMMAND, WM_NOTIFY,
  // WM_CTLCOLOR...), handed back to the control.
  virtual LRESULT OnReflected(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                              bool& handled) {
    handled = false;
    return 0;
  }

  // Paints what lies below the control (its container's background and the drawn controls
  // after it in the same container) into `dc`, for controls that let it show through.
  void PaintBackdrop(HDC dc);
  // Fills the control with its layout's background colour; false, painting nothing, when the
  // layout gives none.
  bool FillBackColour(HDC dc) const;

 protected:
  // Takes the made window: the control answers its messages from then on.
  void Adopt(HWND hwnd);
  // The native window of a system control class at the layout's place; adopted.
  HWND CreateSystemControl(HWND parent, const wchar_t* type, DWORD style,
                           const wchar_t* text = L"");
  // A window of the toolkit's drawn control class at the layout's place; adopted.
  HWND CreateDrawnControl(HWND parent, DWORD extraStyle = 0);
  ui::Value ReadNative(int index) const override;
  void WriteNative(int index, const ui::Value& value) override;
  // Borderless movable windows are dragged by presses on this control.
  bool DragsWindow() const;

 private:
  HWND hwnd_ = nullptr;
};

class LoadedWindow : public front::LoadedWindow {
 public:
  using front::LoadedWindow::LoadedWindow;
  ~LoadedWindow() override;

  HWND hwnd() const { return hwnd_; }
  void SetHwnd(HWND hwnd) { hwnd_ = hwnd; }

  Control* FindControl(const Text& name) const {
    return static_cast<Control*>(front::LoadedWindow::FindControl(name));
  }

  // The client area's background colour.
  void PaintBackground(HDC dc) const;

  bool HasNative() const override { return hwnd_ != nullptr; }
  void RemoveTrayEntry() override;
  void DestroyNative() override;

  // Window properties that are kept rather than read from the window.
  std::vector<HICON> ownIcons;  // the icons made for it alone
  bool wantsTray = false;       // it was given a notification-area entry
  bool inTray = false;          // the shell has taken that entry
  bool trayKeyboard = false;    // the shell sends that entry's keyboard events
  HICON trayIcon = nullptr;     // that entry's icon
  Text trayTip;

 private:
  HWND hwnd_ = nullptr;
};

inline LoadedWindow& Control::owner() const {
  return static_cast<LoadedWindow&>(front::Control::owner());
}

// The loaded window of the native window; nullptr for any other.
std::shared_ptr<LoadedWindow> FindLoadedWindow(HWND hwnd);
using front::DestroyLoadedWindow;
using front::LoadedWindowCount;

// The control whose window this is; nullptr for any other window.
Control* ControlOf(HWND hwnd);

// The message loop runs (the last window's end ends it).
void SetMessageLoopRunning(bool running);
bool MessageLoopRunning();

using ui::BoolOf;
using ui::BytesOf;
using ui::IntOf;
using ui::TextOf;

}  // namespace kesto::win32
