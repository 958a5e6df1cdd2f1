// The program folder is the real program file's, however the program was started: the
// platform finds app\, qmztx.ini, reg.qmz and up.qmz there.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "runtime/posix/native_text.h"
#include "tests/program/temp_program_folder.h"

namespace kesto::testing {
namespace {

// What the program printed: the folder it entered and its file name, one a line.
std::string RunShell(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  pclose(pipe);
  return output;
}

TEST(ProgramFile, AStartThroughASymbolicLinkTakesTheRealProgramsFolder) {
  TempProgramFolder folder;
  std::filesystem::create_directories(folder / "real");
  std::filesystem::create_directories(folder / "links");
  std::filesystem::copy_file(KESTO_START_PROBE, folder / "real" / "kesto");
  std::filesystem::create_symlink(folder / "real" / "kesto", folder / "links" / "shortcut");
  std::filesystem::create_symlink("../links/shortcut", folder / "links" / "relative");
  std::string expected =
      posix::FromNativePath(std::filesystem::canonical(folder / "real").string()) + "\nkesto\n";

  const std::string links = (folder / "links").string();
  // By its path, through a chain of links, and found on PATH, always started from elsewhere.
  EXPECT_EQ(RunShell("cd / && '" + links + "/shortcut'"), expected);
  EXPECT_EQ(RunShell("cd '" + links + "' && ./relative"), expected);
  EXPECT_EQ(RunShell("cd / && PATH='" + links + "':\"$PATH\" shortcut"), expected);
}

}  // namespace
}  // namespace kesto::testing
