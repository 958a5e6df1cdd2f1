// RunCommand on CreateProcessW and the start-up of a real Windows program named x.qmz.
#include <filesystem>

#include "runtime/core.h"
#include "runtime/tool_services.h"
#include "tests/runtime/names_in_many_scripts.h"
#include "tests/runtime/win32/temp_folder.h"

namespace kesto {
namespace {

class Processes : public testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    std::filesystem::copy_file(KESTO_CHILD_PROGRAM, Wide(L"x.qmz"));
  }
  // The child's report: its file name, its current directory, then its arguments.
  Text Report() const { return ToText(ReadFileBytes(Inside("report.txt"))); }
};

TEST_F(Processes, StartsAProgramWhoseExtensionIsNotExe) {
  ASSERT_TRUE(RunCommand("\"" + Inside("x.qmz") + "\" \"" + Inside("report.txt") + "\"", true));
  EXPECT_EQ(Report(), "x.qmz\n" + Inside() + "\n" + Inside("report.txt") + "\n");
}

TEST_F(Processes, WithoutWaitingReturnsOnceTheProgramIsIdle) {
  DWORD start = GetTickCount();
  ASSERT_TRUE(
      RunCommand("\"" + Inside("x.qmz") + "\" \"" + Inside("report.txt") + "\" slow", false));
  DWORD waited = GetTickCount() - start;
  // The child writes its report after half a second, before it first waits for input; a child
  // slow to start on a loaded machine is given up after the full second.
  EXPECT_TRUE(FileExists(Inside("report.txt")) || waited >= 1000) << waited;
  EXPECT_GE(waited, 500u);
}

// The platform waits, its window frozen, for the updater it starts to take input. The updater
// takes it at once, even while it waits for another updater's hold on its file.
TEST_F(Processes, TheUpdaterIsReadyForInputAtOnce) {
  std::filesystem::copy_file(KESTO_UPDATER, Wide(L"up.qmz"));
  FileHold otherUpdater(Inside("up.qmz"), 0);
  ASSERT_TRUE(otherUpdater.Held());
  std::wstring line = L"\"" + Wide(L"up.qmz").wstring() + L"\" -qmz";
  // Its output, and that of the Wine services it may start, goes nowhere: the test's own would
  // be held open after the test.
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE nowhere =
      CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherited, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nowhere;
  PROCESS_INFORMATION started{};
  const BOOL made = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   Wide(L"").c_str(), &startup, &started);
  CloseHandle(nowhere);
  ASSERT_TRUE(made);
  const DWORD start = GetTickCount();
  const DWORD idle = WaitForInputIdle(started.hProcess, 5000);
  const DWORD waited = GetTickCount() - start;
  EXPECT_EQ(WaitForSingleObject(started.hProcess, 0), WAIT_TIMEOUT) << "it waits for the hold";
  TerminateProcess(started.hProcess, 9);
  WaitForSingleObject(started.hProcess, 5000);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  EXPECT_EQ(idle, 0u);
  EXPECT_LT(waited, 500u);
}

TEST_F(Processes, ArgumentsAreSplitAtBlanksAndQuotesOnly) {
  const Text gbk = "\xB0\x5C";  // a two-byte character whose second byte is "\"
  ASSERT_TRUE(RunCommand(
      Inside("x.qmz") + " \"" + Inside("report.txt") + "\" a\\b \"c d\" e\\\"f\" " + gbk + " \"\"",
      true));
  EXPECT_EQ(Report(), "x.qmz\n" + Inside() + "\n" + Inside("report.txt") + "\na\\b\nc d\ne\\\nf\n" +
                          gbk + "\n\n");
}

// A program in a folder of any script learns its own name and folder as its starter spells them.
TEST_F(Processes, AProgramInAFolderOfAnyScriptKnowsItsNameAndFolder) {
  for (std::u8string_view script : testing::kNamesInManyScripts) {
    const std::wstring name = testing::WideName(script);
    const Text folder = Inside(win32::FromWide(name));
    const Text program = win32::FromWide(name) + ".qmz";
    SCOPED_TRACE(TextToUtf8(folder));
    std::filesystem::create_directory(Wide(name));
    std::filesystem::copy_file(Wide(L"x.qmz"), Wide(name + L"\\" + name + L".qmz"));
    ASSERT_TRUE(RunCommand("\"" + folder + "\\" + program + "\" \"" + folder + "\\r.txt\"", true));
    EXPECT_EQ(ToText(ReadFileBytes(folder + "\\r.txt")),
              program + "\n" + folder + "\n" + folder + "\\r.txt\n");
  }
}

TEST_F(Processes, AProcessIsKnownByItsImageFile) {
  wchar_t self[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(ProcessProgramFiles(CurrentProcessId()),
            Array<Text>{win32::FromWide(std::wstring(self, length))});
  EXPECT_EQ(ProcessProgramFiles(0), Array<Text>{});
}

TEST_F(Processes, FailsForAMissingProgram) {
  EXPECT_FALSE(RunCommand(Inside("missing.qmz"), false));
  EXPECT_FALSE(RunCommand("", false));
  EXPECT_FALSE(RunCommand("   ", true));
}

}  // namespace
}  // namespace kesto
