// The toolkit seam on Win32: start-up (common controls, COM for the browser control), the event
// pump, the message loop and the end of the process.
#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include "runtime/toolkit.h"
#include "runtime/win32/toolkit/browser/host.h"
#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/loaded_windows.h"
#include "runtime/win32/toolkit/ui_thread.h"

namespace kesto::toolkit {

namespace {
// A page that keeps repainting would otherwise keep ProcessEvents busy forever.
constexpr int kMaxMessagesPerPump = 2000;

void Dispatch(MSG& message) {
  if (win32::BrowserTookKey(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}
}  // namespace

void Start(int, char**) {
  win32::MarkUiThread();
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The browser control is an OLE control: it wants a single-threaded apartment.
  OleInitialize(nullptr);
  win32::UseNewestDocumentMode();
}

void ProcessEvents() {
  MSG message;
  for (int i = 0; i < kMaxMessagesPerPump && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
       ++i) {
    if (message.message == WM_QUIT) {
      // The loop that waits for it is further out.
      PostQuitMessage(int(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void RunMessageLoop() {
  if (win32::LoadedWindowCount() == 0) return;
  win32::SetMessageLoopRunning(true);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  win32::SetMessageLoopRunning(false);
}

void EndProcess(int exitCode) {
  std::fflush(nullptr);
  // No teardown of the libraries while a worker or the browser control's threads still run.
  TerminateProcess(GetCurrentProcess(), UINT(exitCode));
  for (;;) Sleep(INFINITE);
}

}  // namespace kesto::toolkit
