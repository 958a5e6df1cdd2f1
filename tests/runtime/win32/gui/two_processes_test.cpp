// Window activation and the close request across two processes: another program's window of
// the toolkit, reached only through its handle, as the platform reaches the recorded windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/native.h"
#include "runtime/win32/wide_text.h"
#include "shell/window_activation.h"
#include "tests/runtime/win32/gui/gui_support.h"

// windows.h names its PostMessageW macro after the operation under test.
#undef PostMessage

namespace kesto::testing {
namespace {

class OtherProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    handleFile_ = std::wstring(folder) + L"kesto-peer-" + std::to_wstring(GetCurrentProcessId());
    DeleteFileW(handleFile_.c_str());
    std::wstring line = L"\"" + win32::ToWide(KESTO_GUI_PEER) + L"\" \"" + handleFile_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &peer_));
    ASSERT_TRUE(PumpUntil(
        [&] {
          std::ifstream in{std::filesystem::path(handleFile_)};
          long long value = 0;
          if (!(in >> value)) return false;
          window_ = native::Handle(value);
          return true;
        },
        20000));
    Pump(1000);
  }
  void TearDown() override {
    if (WaitForSingleObject(peer_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(peer_.hProcess, 9);
    CloseHandle(peer_.hThread);
    CloseHandle(peer_.hProcess);
    DeleteFileW(handleFile_.c_str());
  }

  std::wstring handleFile_;
  PROCESS_INFORMATION peer_{};
  native::Handle window_ = 0;
};

TEST_F(OtherProgram, MinimisedWindowIsActivatedByItsHandle) {
  HWND hwnd = reinterpret_cast<HWND>(window_);
  ASSERT_TRUE(shell::IsLiveWindow(window_));
  EXPECT_EQ(native::WindowProcessId(window_), peer_.dwProcessId);
  native::ShowWindow(window_, native::kSwMinimize);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(hwnd) != FALSE; }, 3000));

  shell::ActivateWindow(window_);
  // The window manager restores the window in its own time, which on a busy machine has been
  // more than 5 s.
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(hwnd) && GetForegroundWindow() == hwnd; }, 15000));
  Screenshot("other-program-activated");
}

TEST_F(OtherProgram, CloseRequestEndsTheOtherProgram) {
  native::PostMessage(window_, native::kWmClose, 0, 0);
  EXPECT_TRUE(
      PumpUntil([&] { return WaitForSingleObject(peer_.hProcess, 0) == WAIT_OBJECT_0; }, 10000));
  DWORD code = 99;
  GetExitCodeProcess(peer_.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(shell::IsLiveWindow(window_));
}

}  // namespace
}  // namespace kesto::testing
