// The conformance scenarios' desktop on Win32 under Wine: the window manager's view through the
// Win32 calls, the screen and the input through the Unix tools of the X session.
#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include <thread>

#include "runtime/win32/wide_text.h"
#include "tests/runtime/toolkit_conformance/desktop.h"
#include "tests/runtime/win32/gui/gui_support.h"
#include "tests/runtime/win32/gui/window_program.h"

namespace kesto::testing::desktop {

namespace {

HWND Hwnd(native::Handle window) {
  return reinterpret_cast<HWND>(window);
}

HWND FindBox(const Text& caption) {
  return FindWindowW(L"#32770", win32::ToWide(caption).c_str());
}

}  // namespace

// The session script skips the whole program where no X server or Wine can start.
std::string SkipReason() {
  return {};
}

void Pump(int ms) {
  testing::Pump(ms);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  return testing::PumpUntil(done, timeoutMs);
}

native::Handle LoadAndShow(const char* window) {
  return reinterpret_cast<native::Handle>(testing::LoadAndShow(window));
}

void CloseAndWait(const char* window) {
  testing::CloseAndWait(window);
}

Point ControlPoint(const ui::Ref& control, int x, int y) {
  const POINT at = testing::ControlPoint(control, x, y);
  return {int(at.x), int(at.y)};
}

Point ListItemPoint(const ui::Ref& list, int row) {
  const HWND view = Hwnd(ui::NativeHandle(list));
  RECT icon{};
  if (!ListView_GetItemRect(view, row, &icon, LVIR_ICON)) return {};
  POINT middle{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
  ClientToScreen(view, &middle);
  return {int(middle.x), int(middle.y)};
}

bool IsShown(native::Handle window) {
  return IsWindowVisible(Hwnd(window));
}

bool IsMinimised(native::Handle window) {
  return IsIconic(Hwnd(window));
}

bool IsMaximised(native::Handle window) {
  return IsZoomed(Hwnd(window));
}

bool IsAlwaysOnTop(native::Handle window) {
  return GetWindowLongW(Hwnd(window), GWL_EXSTYLE) & WS_EX_TOPMOST;
}

native::Handle ActiveWindow() {
  return reinterpret_cast<native::Handle>(GetForegroundWindow());
}

native::Handle DesktopWindow() {
  return reinterpret_cast<native::Handle>(GetDesktopWindow());
}

void XDo(const std::string& arguments) {
  testing::XDo(arguments);
}

std::uint32_t ScreenPixel(int x, int y) {
  return testing::ScreenPixel(x, y);
}

void Screenshot(const std::string& name) {
  testing::Screenshot(name);
}

bool BoxShown(const Text& caption) {
  const HWND box = FindBox(caption);
  return box && IsWindowVisible(box);
}

// Pressed again while the box stays: a busy X server may deliver the first press before the
// box has the focus.
void AnswerBox(const Text& caption, const std::string& keys) {
  std::thread([caption, keys] {
    HWND box = nullptr;
    for (int i = 0; i < 500 && !(box = FindBox(caption)); ++i) Sleep(20);
    for (int tries = 0; box && IsWindow(box) && tries < 10; ++tries) {
      Sleep(500);
      SetForegroundWindow(box);
      RunUnix("xdotool key " + keys);
      // Pressed again only if the box stays: a press after it went would reach the next one.
      for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(10);
    }
  }).detach();
}

// Wine's desktop process docks the entry once it has started: some seconds.
Point WaitForTrayEntry() {
  POINT entry{0, 0};
  PumpUntil([&] { return (entry = DockedTrayEntry()).x != 0; }, 20000);
  return {int(entry.x), int(entry.y)};
}

bool TrayMenuShown() {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu);
}

void ClickTrayMenuWhenShown(bool firstItem) {
  std::thread([firstItem] {
    HWND menu = nullptr;
    for (int i = 0; i < 1000 && !TrayMenuShown(); ++i) Sleep(20);
    if (!(menu = FindWindowW(L"#32768", nullptr))) return;
    POINT at{5, 5};  // the desktop, away from the menu at the notification area
    RECT item{};
    const HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    if (firstItem && items && GetMenuItemRect(nullptr, items, 0, &item)) {
      at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    }
    Sleep(300);  // the menu takes the pointer
    RunUnix("xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1");
  }).detach();
}

struct Peer::Process {
  explicit Process(const char* title)
      : program(KESTO_GUI_PEER, L"\"" + win32::ToWide(title) + L"\"") {}
  WindowProgram program;
};

Peer::Peer(const char* title)
    : process_(std::make_unique<Process>(title)), window_(process_->program.window()) {}

Peer::~Peer() = default;

std::uint32_t Peer::processId() const {
  return process_->program.processId();
}

bool Peer::Ended(int timeoutMs, int& exitCode) {
  return process_->program.Ended(timeoutMs, exitCode);
}

}  // namespace kesto::testing::desktop
