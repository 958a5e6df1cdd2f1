// SessionEndHold on Windows: a hidden top-level window on a thread of its own answers the
// session's question (may it end?) with no while the hold lasts, and gives Windows the reason
// to show; a session that ends all the same waits in that window for the hold to go.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

#include "runtime/tool_services.h"
#include "runtime/win32/session_end_holds.h"
#include "runtime/win32/wide_text.h"

namespace kesto {

namespace {
constexpr UINT kLetGo = WM_APP + 1;
constexpr DWORD kWaitStepMilliseconds = 25;
}  // namespace

struct SessionEndHold::Native {
  std::wstring reason;
  HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND window = nullptr;
  std::thread answerer;

  ~Native() {
    CloseHandle(made);
    CloseHandle(released);
  }

  // Windows is asked to show the reason before any question comes, as it advises, and again
  // with each question.
  static LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* hold = reinterpret_cast<Native*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!hold) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
      case WM_QUERYENDSESSION:
        ShutdownBlockReasonCreate(window, hold->reason.c_str());
        return FALSE;
      case WM_ENDSESSION:
        // Ended all the same: the process may go as soon as this returns.
        if (wParam) WaitForSingleObject(hold->released, INFINITE);
        return 0;
      case kLetGo:
        ShutdownBlockReasonDestroy(window);
        DestroyWindow(window);
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
  }

  static const wchar_t* WindowClass() {
    static const wchar_t* name = [] {
      WNDCLASSW type{};
      type.lpfnWndProc = Answer;
      type.hInstance = GetModuleHandleW(nullptr);
      type.lpszClassName = L"KestoSessionEndHold";
      RegisterClassW(&type);
      return type.lpszClassName;
    }();
    return name;
  }

  // Not a message-only window: those hear nothing of the session.
  void RunWindow() {
    window = CreateWindowExW(WS_EX_TOOLWINDOW, WindowClass(), L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window) {
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      ShutdownBlockReasonCreate(window, reason.c_str());
    }
    SetEvent(made);
    if (!window) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  }
};

namespace {
std::mutex holdsMutex;
std::vector<const std::wstring*> holdReasons;  // each hold's reason, oldest first
}  // namespace

// Counted before its window answers: the process's other windows answer the same from then on.
SessionEndHold::SessionEndHold(const Text& reason) : native_(std::make_unique<Native>()) {
  native_->reason = win32::ToWide(reason);
  {
    std::lock_guard lock(holdsMutex);
    holdReasons.push_back(&native_->reason);
  }
  native_->answerer = std::thread([native = native_.get()] { native->RunWindow(); });
  WaitForSingleObject(native_->made, INFINITE);
}

SessionEndHold::~SessionEndHold() {
  SetEvent(native_->released);
  if (native_->window) PostMessageW(native_->window, kLetGo, 0, 0);
  native_->answerer.join();
  std::lock_guard lock(holdsMutex);
  holdReasons.erase(std::find(holdReasons.begin(), holdReasons.end(), &native_->reason));
}

namespace win32 {

bool SessionEndHeld() {
  std::lock_guard lock(holdsMutex);
  return !holdReasons.empty();
}

void ShowSessionEndReason(HWND window) {
  std::lock_guard lock(holdsMutex);
  if (holdReasons.empty()) {
    ShutdownBlockReasonDestroy(window);
  } else {
    ShutdownBlockReasonCreate(window, holdReasons.back()->c_str());
  }
}

// A holder may be sending to this thread (a worker's progress to the user-interface thread):
// sent messages are answered while waiting.
void WaitForSessionEndHolds() {
  while (SessionEndHeld()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitStepMilliseconds, QS_SENDMESSAGE);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace win32

}  // namespace kesto
