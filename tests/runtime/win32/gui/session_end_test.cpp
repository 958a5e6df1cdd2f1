// The end of the session as Windows asks a program of the toolkit: its windows say no while a
// write holds it off (and an end that comes all the same waits for the write), and yes without
// one, and the program then ends as it does when its windows are closed, its exit routine run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "tests/runtime/win32/gui/gui_support.h"
#include "tests/runtime/win32/gui/window_program.h"

namespace kesto::testing {
namespace {

constexpr UINT kTimeoutMs = 20000;

// What the program answered; nullopt when it did not (it ended meanwhile).
std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, message, wParam, ENDSESSION_LOGOFF, SMTO_NORMAL, kTimeoutMs,
                           &answer)) {
    return std::nullopt;
  }
  return LRESULT(answer);
}

// The hidden window a hold of the process answers with.
HWND HoldWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found = nullptr;
  } search{processId};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t type[64] = L"";
        GetClassNameW(window, type, 64);
        if (owner == wanted.processId && std::wstring(type) == L"KestoSessionEndHold") {
          wanted.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string LogOf(const WindowProgram& program) {
  std::ifstream in{std::filesystem::path(program.handleFile() + L".log")};
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SessionEnd, WindowsSayNoWhileAWriteHoldsAndTheEndWaitsForIt) {
  WindowProgram program(KESTO_GUI_TOOLKIT_PEER, L"hold");
  const HWND window = reinterpret_cast<HWND>(program.window());
  ASSERT_NE(window, nullptr);
  const HWND hold = HoldWindowOf(program.processId());
  ASSERT_NE(hold, nullptr) << "the hold answers with a window of its own";
  EXPECT_FALSE(IsWindowVisible(hold));
  EXPECT_EQ(Ask(hold, WM_QUERYENDSESSION, 0), FALSE);
  EXPECT_EQ(Ask(window, WM_QUERYENDSESSION, 0), FALSE);

  Ask(window, WM_ENDSESSION, TRUE);  // the seller chose to end the session all the same
  int exitCode = -1;
  ASSERT_TRUE(program.Ended(10000, exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(LogOf(program), "hold ends\nexit routine\n");
}

TEST(SessionEnd, WithoutAHoldTheWindowsSayYesAndTheProgramEndsWithTheSession) {
  WindowProgram program(KESTO_GUI_TOOLKIT_PEER, L"");
  const HWND window = reinterpret_cast<HWND>(program.window());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(HoldWindowOf(program.processId()), nullptr);
  EXPECT_EQ(Ask(window, WM_QUERYENDSESSION, 0), TRUE);
  Ask(window, WM_ENDSESSION, FALSE);  // another program said no: the session goes on
  Pump(300);
  EXPECT_TRUE(IsWindow(window));

  Ask(window, WM_ENDSESSION, TRUE);
  int exitCode = -1;
  ASSERT_TRUE(program.Ended(10000, exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(LogOf(program), "exit routine\n");
}

}  // namespace
}  // namespace kesto::testing
