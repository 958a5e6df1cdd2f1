#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <vector>

#include "runtime/core.h"
#include "tests/runtime/posix/temp_folder.h"

namespace kesto {
namespace {

class ProfileFiles : public testing::TempFolder {
 protected:
  Text Ini() const { return Inside("qmztx.ini"); }
  Text Read(const Text& section, const Text& key, const Text& fallback = "") {
    return ReadIniValue(Ini(), section, key, fallback);
  }
};

TEST_F(ProfileFiles, ReadsLikeTheWindowsProfileCalls) {
  WriteNative("qmztx.ini",
              "; the platform's shared file\r\n"
              "stray=before any section\r\n"
              "  [ JB ]  trailing words\r\n"
              "  PT  =  12345  \r\n"
              ";pt=1\r\n"
              "quoted=\"  a b  \"\r\n"
              "[wm]\n"
              "run=pt\n"
              "[jb]\r\n"
              "pt=999\r\n"
              "late=1\r\n");
  EXPECT_EQ(Read("jb", "pt"), "12345");
  EXPECT_EQ(Read("  jb", "Pt"), "12345");
  EXPECT_EQ(Read("jb", "quoted"), "  a b  ");
  EXPECT_EQ(Read("wm", "run"), "pt");
  EXPECT_EQ(Read("jb", "stray", "d"), "d");
  // Only the first section of a name counts.
  EXPECT_EQ(Read("jb", "late", "none"), "none");
  EXPECT_EQ(Read("jb", ";pt"), "1");
}

// Files that the Windows profile calls read in their own way; the expected values were taken
// from the real calls.
struct OddFile {
  const char* what;
  std::string content;
  std::vector<std::array<Text, 3>> reads;  // section, key, value ("none" when missing)
};

const std::vector<OddFile>& OddFiles() {
  static const std::vector<OddFile> files{
      {"lone CR line ends",
       "[jb]\rpt=1\rtool=2\r[wm]\rrun=pt\r",
       {{"jb", "pt", "1"}, {"jb", "tool", "2"}, {"wm", "run", "pt"}, {"wm", "pt", "none"}}},
      {"mixed line ends",
       "[jb]\r\r\npt=1\n\rtool=2\r\r[wm]\r\n\rrun=pt",
       {{"jb", "pt", "1"}, {"jb", "tool", "2"}, {"wm", "run", "pt"}}},
      {"a header without its bracket is a key of the section before",
       "[wm]\r\nrun=x\r\n[jb\r\npt=1\r\n",
       {{"jb", "pt", "none"}, {"wm", "pt", "1"}, {"wm", "run", "x"}}},
      {"an unclosed header with an equals sign",
       "[wm]\r\n[jb=5\r\npt=1\r\n",
       {{"wm", "[jb", "5"}, {"wm", "pt", "1"}, {"jb", "pt", "none"}}},
      {"a key without an equals sign has no value and hides a later one",
       "[jb]\r\npt\r\npt=3\r\n  spaced key  \r\ntool=2\r\n",
       {{"jb", "pt", "none"}, {"jb", "spaced key", "none"}, {"jb", "tool", "2"}}},
      {"a UTF-8 byte-order mark makes the file UTF-8",
       "\xEF\xBB\xBF[jb]\r\npt=1\r\n[\xE4\xB8\xAD]\r\nrun=\xE4\xB8\xAD\xE6\x96\x87\r\n",
       {{"jb", "pt", "1"}, {"\xD6\xD0", "run", "\xD6\xD0\xCE\xC4"}}},
      {"a key right after the mark is before any section",
       "\xEF\xBB\xBFpt=1\r\n[jb]\r\npt=2\r\n",
       {{"jb", "pt", "2"}}},
  };
  return files;
}

TEST_F(ProfileFiles, OddFilesReadAsTheWindowsCallsReadThem) {
  for (const OddFile& file : OddFiles()) {
    SCOPED_TRACE(file.what);
    WriteNative("qmztx.ini", file.content);
    for (const auto& [section, key, value] : file.reads) {
      EXPECT_EQ(Read(section, key, "none"), value) << section << " " << key;
    }
  }
}

TEST_F(ProfileFiles, WritesIntoOddFilesReadBackAsTheWindowsCallsWriteThem) {
  struct Case {
    std::string before;
    Text section, key, value;
    std::string after;
  };
  const std::vector<Case> cases{
      {"[jb]\rpt=1\rtool=2\r[wm]\rrun=pt\r", "jb", "pt", "9", "[jb]\rpt=9\rtool=2\r[wm]\rrun=pt\r"},
      {"[jb]\rpt=1\rtool=2\r[wm]\rrun=pt\r", "jb", "new", "7",
       "[jb]\rpt=1\rtool=2\rnew=7\r\n[wm]\rrun=pt\r"},
      {"[wm]\r\nrun=x\r\n[jb\r\npt=1\r\n", "jb", "pt", "9",
       "[wm]\r\nrun=x\r\n[jb\r\npt=1\r\n[jb]\r\npt=9\r\n"},
      {"[wm]\r\n[jb=5\r\npt=1\r\n", "wm", "run", "tool", "[wm]\r\n[jb=5\r\npt=1\r\nrun=tool\r\n"},
      {"[jb]\r\npt\r\npt=3\r\n", "jb", "pt", "9", "[jb]\r\npt=9\r\npt=3\r\n"},
      {"\xEF\xBB\xBF[jb]\r\npt=1\r\n[\xE4\xB8\xAD]\r\nk=\xE4\xB8\xAD\r\n", "\xD6\xD0", "k",
       "\xB0\xA1", "\xEF\xBB\xBF[jb]\r\npt=1\r\n[\xE4\xB8\xAD]\r\nk=\xE5\x95\x8A\r\n"},
      {"\xEF\xBB\xBF[jb]\r\npt=1\r\n", "jb", "new", "\xB0\xA1",
       "\xEF\xBB\xBF[jb]\r\npt=1\r\nnew=\xE5\x95\x8A\r\n"},
      {"\xEF\xBB\xBF", "jb", "pt", "1", "\xEF\xBB\xBF[jb]\r\npt=1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    WriteNative("qmztx.ini", c.before);
    ASSERT_TRUE(WriteIniValue(Ini(), c.section, c.key, c.value));
    EXPECT_EQ(ReadNative("qmztx.ini"), c.after);
    EXPECT_EQ(Read(c.section, c.key), c.value);
  }
}

TEST_F(ProfileFiles, EmptyNamesGiveEmptyTextEvenWithADefault) {
  WriteNative("qmztx.ini", "[jb]\r\npt=1\r\n");
  EXPECT_EQ(Read("jb", "", "default"), "");
  EXPECT_EQ(Read("", "pt", "default"), "");
  EXPECT_EQ(Read(" \t", "pt", "default"), "");
  EXPECT_EQ(ReadIniValue("", "jb", "pt", "default"), "");
  EXPECT_EQ(Read("jb", "missing", "default  "), "default");
  EXPECT_EQ(ReadIniValue(Inside("missing.ini"), "jb", "pt", "d"), "d");
}

TEST_F(ProfileFiles, BracketsInsidePairsAreName) {
  // 81 5D is one character whose second byte is "]".
  ASSERT_TRUE(WriteIniValue(Ini(), "\x81\x5D", Text("k"), Text("1")));
  ASSERT_TRUE(WriteIniValue(Ini(), "\x81\x5D", Text("k"), Text("2")));
  EXPECT_EQ(ReadNative("qmztx.ini"), "[\x81\x5D]\r\nk=2\r\n");
  EXPECT_EQ(Read("\x81\x5D", "k"), "2");
}

TEST_F(ProfileFiles, NamesFoldOnlyOneByteLetters) {
  // B0 41 and B0 61 are different characters even though their second bytes are A and a.
  WriteNative("qmztx.ini", "[s]\r\n\xB0\x41=upper\r\n");
  EXPECT_EQ(Read("s", "\xB0\x41"), "upper");
  EXPECT_EQ(Read("s", "\xB0\x61", "none"), "none");
}

TEST_F(ProfileFiles, ValuesAreCutAt10239BytesOnACharacterBound) {
  std::string longValue(10238, 'x');
  WriteNative("qmztx.ini", "[s]\r\nk=" + longValue + "\xB0\xA1yz\r\n");
  EXPECT_EQ(Read("s", "k"), longValue);
  WriteNative("qmztx.ini", "[s]\r\nk=" + std::string(20000, 'y') + "\r\n");
  EXPECT_EQ(Read("s", "k").size(), 10239u);
}

TEST_F(ProfileFiles, WritesCreateTheFileAndSection) {
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", Text("pt"), Text("42")));
  ASSERT_TRUE(WriteIniValue(Ini(), "wm", Text("run"), Text("pt")));
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", Text("tool"), Text(" spaced ")));
  EXPECT_EQ(ReadNative("qmztx.ini"), "[jb]\r\npt=42\r\ntool= spaced \r\n[wm]\r\nrun=pt\r\n");
}

TEST_F(ProfileFiles, WritesKeepTheRestByteForByte) {
  std::string before =
      "; comment\n"
      "[JB]\n"
      "  PT = 1\n"
      "other=2\n"
      "\n"
      "[wm]\n"
      "name=kesto";
  WriteNative("qmztx.ini", before);
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", Text("pt"), Text("7")));
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", Text("new"), Text("3")));
  ASSERT_TRUE(WriteIniValue(Ini(), "wm", Text("run"), Text("pt")));
  EXPECT_EQ(ReadNative("qmztx.ini"),
            "; comment\n"
            "[JB]\n"
            "PT=7\n"
            "other=2\n"
            "new=3\r\n"
            "\n"
            "[wm]\n"
            "name=kesto\r\n"
            "run=pt\r\n");
}

TEST_F(ProfileFiles, OmittedValueRemovesTheKeyOmittedKeyTheSection) {
  WriteNative("qmztx.ini", "[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n");
  ASSERT_TRUE(WriteIniValue(Ini(), "a", Text("x")));
  EXPECT_EQ(ReadNative("qmztx.ini"), "[a]\r\ny=2\r\n[b]\r\nz=3\r\n");
  ASSERT_TRUE(WriteIniValue(Ini(), "A"));
  EXPECT_EQ(ReadNative("qmztx.ini"), "[b]\r\nz=3\r\n");
  ASSERT_TRUE(WriteIniValue(Ini(), "missing"));
  ASSERT_TRUE(WriteIniValue(Inside("none.ini"), "b", Text("z")));
  EXPECT_FALSE(FileExists(Inside("none.ini")));
}

TEST_F(ProfileFiles, RefusesLineEndsAndUnusableTargets) {
  WriteNative("qmztx.ini", "[jb]\r\npt=1\r\n");
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text("pt"), Text("2\r\n[wm]\r\nrun=evil")));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text("a\nb"), Text("2")));
  EXPECT_FALSE(WriteIniValue(Ini(), "", Text("pt"), Text("2")));
  EXPECT_FALSE(WriteIniValue(Ini(), "a]b", Text("pt"), Text("2")));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text("a=b"), Text("2")));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text(" [x"), Text("2")));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text(" \t"), Text("2")));
  EXPECT_FALSE(WriteIniValue(Inside("no\\such\\qmztx.ini"), "jb", Text("pt"), Text("2")));
  EXPECT_EQ(ReadNative("qmztx.ini"), "[jb]\r\npt=1\r\n");
}

// As with the system's profile calls, which cannot take a name or value over 32766 bytes.
TEST_F(ProfileFiles, TextsTheProfileCallsCannotTakeAreRefused) {
  ASSERT_TRUE(WriteIniValue(Ini(), "wm", Text("run"), Text(32766, 'k')));
  const std::string before = ReadNative("qmztx.ini");
  EXPECT_FALSE(WriteIniValue(Ini(), "wm", Text("run"), Text(32767, 'k')));
  EXPECT_FALSE(WriteIniValue(Ini(), "wm", Text(32767, 'k'), Text("1")));
  EXPECT_FALSE(WriteIniValue(Ini(), Text(32767, 's'), Text("run"), Text("1")));
  EXPECT_EQ(ReadNative("qmztx.ini"), before);
}

TEST_F(ProfileFiles, AFileThatCannotBeReadIsNeverReplaced) {
  ASSERT_EQ(mkfifo(Native("qmztx.ini").c_str(), 0600), 0);
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text("pt"), Text("2")));
  struct stat info;
  ASSERT_EQ(stat(Native("qmztx.ini").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(ProfileFiles, AReadOnlyFileIsNeverWritten) {
  WriteNative("qmztx.ini", "[jb]\r\npt=1\r\n");
  ASSERT_EQ(chmod(Native("qmztx.ini").c_str(), 0444), 0);
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text("pt"), Text("2")));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text("pt"), Text("1")));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", Text("pt")));
  EXPECT_EQ(ReadNative("qmztx.ini"), "[jb]\r\npt=1\r\n");
}

TEST_F(ProfileFiles, ConcurrentWritersInOtherProcessesLoseNoKey) {
  constexpr int kWriters = 2;
  constexpr int kKeysEach = 300;
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  std::vector<pid_t> writers;
  for (int writer = 0; writer < kWriters; ++writer) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // Both writers begin together, once the parent closes its end of the pipe.
      close(start[1]);
      char ignored;
      [[maybe_unused]] ssize_t got = read(start[0], &ignored, 1);
      bool ok = true;
      for (int key = 0; key < kKeysEach; ++key) {
        Text name = "w" + ToText(writer) + "k" + ToText(key);
        if (!WriteIniValue(Ini(), "jb", name, ToText(key))) ok = false;
      }
      _exit(ok ? 0 : 1);
    }
    writers.push_back(pid);
  }
  close(start[0]);
  close(start[1]);
  for (pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  int missing = 0;
  for (int writer = 0; writer < kWriters; ++writer) {
    for (int key = 0; key < kKeysEach; ++key) {
      missing += Read("jb", "w" + ToText(writer) + "k" + ToText(key)) != ToText(key);
    }
  }
  EXPECT_EQ(missing, 0);
}

}  // namespace
}  // namespace kesto
