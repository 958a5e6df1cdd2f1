// Writes that meet a full disk or a killed writer: the old file stays whole, the write reports
// failure, and no temporary file is left to pile up.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "runtime/core.h"
#include "tests/runtime/posix/temp_folder.h"

namespace kesto {
namespace {

using DiskFaults = testing::TempFolder;

constexpr rlim_t kFileSizeLimit = 4096;

// The result of `write` run in a child process whose files may not grow beyond the limit, as
// on a full disk: the write fails with EFBIG instead of the process being stopped.
bool WritesUnderFileSizeLimit(const std::function<bool()>& write) {
  pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{kFileSizeLimit, kFileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(write() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST_F(DiskFaults, AWriteBeyondTheFileSizeLimitFailsAndKeepsTheOldFile) {
  const std::string profile = "[jb]\r\nqmztx=1\r\n";
  WriteNative("qmztx.ini", profile);
  WriteNative("up.qmz", "old updater");
  const Text big(2 * kFileSizeLimit, 'x');

  EXPECT_FALSE(WritesUnderFileSizeLimit(
      [&] { return WriteIniValue(Inside("qmztx.ini"), "app", "name", big); }));
  EXPECT_FALSE(
      WritesUnderFileSizeLimit([&] { return WriteFileBytes(Inside("up.qmz"), {ToBytes(big)}); }));
  EXPECT_FALSE(WritesUnderFileSizeLimit([&] {
    return WriteFileBytes(Inside("new.dat"), {ToBytes("a"), ToBytes(big)});
  }));

  EXPECT_EQ(ReadNative("qmztx.ini"), profile);
  EXPECT_EQ(ReadNative("up.qmz"), "old updater");
  // The lock's companion file stays by design; nothing else is new.
  EXPECT_EQ(Names(Native()), (std::set<std::string>{"qmztx.ini", ".qmztx.ini.lock", "up.qmz"}));

  // The limit was the cause: a small write under it goes through.
  EXPECT_TRUE(WritesUnderFileSizeLimit(
      [&] { return WriteIniValue(Inside("qmztx.ini"), "app", "name", "tool"); }));
  EXPECT_EQ(ReadIniValue(Inside("qmztx.ini"), "app", "name"), "tool");
}

// A writer killed at any moment leaves the old file or the new one, each whole.
TEST_F(DiskFaults, AWriterKilledMidWriteNeverLeavesAHalfWrittenProfileFile) {
  constexpr std::size_t kValueLength = 1 << 20;
  const std::string head = "[s]\r\nk=";
  WriteNative("qmztx.ini", head + std::string(kValueLength, 'a') + "\r\n");
  for (int round = 0; round < 12; ++round) {
    pid_t child = fork();
    if (child == 0) {
      for (char letter = 'b';; letter = letter == 'z' ? 'b' : letter + 1) {
        WriteIniValue(Inside("qmztx.ini"), "s", "k", Text(kValueLength, letter));
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * round));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    const std::string content = ReadNative("qmztx.ini");
    ASSERT_EQ(content.size(), head.size() + kValueLength + 2) << "round " << round;
    ASSERT_EQ(content.compare(0, head.size(), head), 0);
    const char letter = content[head.size()];
    EXPECT_EQ(content.find_first_not_of(letter, head.size()), head.size() + kValueLength);
  }
  // Whatever the killed writers left, the next write clears it.
  ASSERT_TRUE(WriteIniValue(Inside("qmztx.ini"), "s", "k", "done"));
  EXPECT_EQ(Names(Native()), (std::set<std::string>{"qmztx.ini", ".qmztx.ini.lock"}));
}

TEST_F(DiskFaults, TheNextWriterRemovesOnlyTheTemporaryFilesOfWritersThatAreGone) {
  pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string stale = ".qmztx.ini." + std::to_string(gone) + "-3.tmp";
  const std::string live = ".qmztx.ini." + std::to_string(getppid()) + "-0.tmp";
  const std::string otherFile = ".other.ini." + std::to_string(gone) + "-0.tmp";
  const std::string notOurs = ".qmztx.ini." + std::to_string(gone) + "-3.tmp.keep";
  for (const std::string& name : {stale, live, otherFile, notOurs}) WriteNative(name, "half");

  ASSERT_TRUE(WriteIniValue(Inside("qmztx.ini"), "jb", "qmztx", "1"));
  EXPECT_EQ(Names(Native()),
            (std::set<std::string>{"qmztx.ini", ".qmztx.ini.lock", live, otherFile, notOurs}));
  ASSERT_TRUE(WriteFileBytes(Inside("other.ini"), {ToBytes("x")}));
  EXPECT_FALSE(std::filesystem::exists(Native(otherFile)));
}

}  // namespace
}  // namespace kesto
