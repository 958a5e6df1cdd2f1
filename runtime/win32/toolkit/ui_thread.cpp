#include "runtime/win32/toolkit/ui_thread.h"

#include <windows.h>

#include <atomic>

#include "runtime/toolkit.h"

namespace kesto::win32 {

namespace {

constexpr UINT kRunWork = WM_APP + 1;    // lParam: the work, run and left to the sender
constexpr UINT kRunPosted = WM_APP + 2;  // lParam: the work, run and deleted

std::atomic<DWORD> ui_thread{0};
HWND handover_window = nullptr;

LRESULT CALLBACK HandoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunWork) {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
  }
  if (message == kRunPosted) {
    auto* work = reinterpret_cast<std::function<void()>*>(lParam);
    (*work)();
    delete work;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void MarkUiThread() {
  ui_thread = GetCurrentThreadId();
  if (handover_window) return;
  WNDCLASSW type{};
  type.lpfnWndProc = HandoverProc;
  type.hInstance = GetModuleHandleW(nullptr);
  type.lpszClassName = L"KestoHandover";
  RegisterClassW(&type);
  handover_window = CreateWindowExW(0, type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, type.hInstance, nullptr);
}

bool IsUiThread() {
  return ui_thread.load() == GetCurrentThreadId();
}

bool HasUiThread() {
  return ui_thread.load() != 0;
}

void RunOnUiThread(const std::function<void()>& work) {
  if (IsUiThread() || !handover_window) {
    work();
    return;
  }
  // A sent message is answered by the user-interface thread even inside a modal loop (a
  // message box, a menu, a window being dragged).
  SendMessageW(handover_window, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

void PostToUiThread(std::function<void()> work) {
  if (!handover_window) {
    work();
    return;
  }
  auto* posted = new std::function<void()>(std::move(work));
  if (!PostMessageW(handover_window, kRunPosted, 0, reinterpret_cast<LPARAM>(posted))) {
    delete posted;
  }
}

}  // namespace kesto::win32

namespace kesto::toolkit {

bool OnUiThread() {
  return !win32::HasUiThread() || win32::IsUiThread();
}

void PostToUiThread(std::function<void()> work) {
  win32::PostToUiThread(std::move(work));
}

}  // namespace kesto::toolkit
