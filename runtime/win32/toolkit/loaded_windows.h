// The windows loaded from their layouts and their controls, as Win32 windows of the
// user-interface thread.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/layout.h"
#include "runtime/native.h"
#include "runtime/ui.h"

namespace kesto::win32 {

class LoadedWindow;

// One control of a loaded window; each control type derives from it.
class Control {
 public:
  Control(LoadedWindow& owner, const ui::ControlLayout& layout);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const ui::ControlLayout& layout() const { return layout_; }
  LoadedWindow& owner() const { return owner_; }
  HWND hwnd() const { return hwnd_; }

  // Makes the native window inside `parent`, at the layout's place.
  virtual void Create(HWND parent) = 0;
  // What takes the keyboard focus for it.
  virtual HWND FocusTarget() { return hwnd_; }
  // Where the controls it contains go: a PicBox itself, a Tab's page; nullptr for the rest.
  virtual HWND ChildArea(int /*page*/) { return nullptr; }

  // Type-specific properties (index 8 on). Without a live counterpart at an index a control
  // gives nullopt / false, and the value is kept and read back as written.
  virtual std::optional<ui::Value> Read(int /*index*/) { return std::nullopt; }
  virtual bool Write(int /*index*/, const ui::Value& /*value*/) { return false; }

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

  // The common properties (geometry, tag, visibility, enabled state, mouse pointer); any
  // other index is kept as written.
  ui::Value ReadCommon(int index) const;
  void WriteCommon(int index, const ui::Value& value);

  // Paints what lies below the control (its container's background and the drawn controls
  // after it in the same container) into `dc`, for controls that let it show through.
  void PaintBackdrop(HDC dc);

 protected:
  // Takes the made window: the control answers its messages from then on.
  void Adopt(HWND hwnd);
  // The native window of a system control class at the layout's place; adopted.
  HWND CreateSystemControl(HWND parent, const wchar_t* type, DWORD style,
                           const wchar_t* text = L"");
  // A window of the toolkit's drawn control class at the layout's place; adopted.
  HWND CreateDrawnControl(HWND parent, DWORD extraStyle = 0);
  // Runs the handler bound to this control's event; nullopt when none is bound.
  ui::EventResult Fire(ui::Event event, const ui::EventArgs& args = {});
  // Keeps the window's controls alive while a message is handled, even when a handler closes
  // the window.
  std::shared_ptr<LoadedWindow> Hold() const;
  // Borderless movable windows are dragged by presses on this control.
  bool DragsWindow() const;

 private:
  LoadedWindow& owner_;
  const ui::ControlLayout& layout_;
  HWND hwnd_ = nullptr;
  std::map<int, ui::Value> kept_;
};

class LoadedWindow : public std::enable_shared_from_this<LoadedWindow> {
 public:
  explicit LoadedWindow(const ui::WindowLayout& layout) : layout_(layout) {}
  ~LoadedWindow();
  LoadedWindow(const LoadedWindow&) = delete;
  LoadedWindow& operator=(const LoadedWindow&) = delete;

  const ui::WindowLayout& layout() const { return layout_; }
  HWND hwnd() const { return hwnd_; }
  void SetHwnd(HWND hwnd) { hwnd_ = hwnd; }

  void AddControl(std::unique_ptr<Control> control);
  Control* FindControl(const Text& name) const;
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  ui::EventResult Fire(const Text& control, ui::Event event, const ui::EventArgs& args = {});

  // Borderless movable windows are dragged by their background and some controls.
  bool DraggedByBackground() const;
  // The client area's background colour.
  void PaintBackground(HDC dc) const;

  // Window properties that are kept rather than read from the window.
  int windowState = ui::kStateNormal;
  std::map<int, ui::Value> kept;
  std::vector<HICON> ownIcons;  // the icons made for it alone
  bool inTray = false;          // it has a notification-area entry
  HICON trayIcon = nullptr;     // that entry's icon
  Text trayTip;
  bool destroying = false;  // its being-destroyed event is running

 private:
  const ui::WindowLayout& layout_;
  HWND hwnd_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
};

// nullptr when no window of that name is loaded.
std::shared_ptr<LoadedWindow> FindLoadedWindow(const Text& name);
std::shared_ptr<LoadedWindow> FindLoadedWindow(HWND hwnd);
int LoadedWindowCount();
void RegisterLoadedWindow(const std::shared_ptr<LoadedWindow>& window);
// Runs the being-destroyed event, removes the tray entry and destroys the window; the message
// loop ends with the last window. A window of the same name loaded anew meanwhile stays.
void DestroyLoadedWindow(const std::shared_ptr<LoadedWindow>& window);

// A control of a loaded window, or the fatal error for a window that is not loaded.
LoadedWindow& LoadedWindowOrFail(const Text& window);
Control& ControlOrFail(const ui::Ref& ref);

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
