// The file, hold and text services of the programs beside the platform, on real files in a
// folder of the test's own (below the current directory, which every back end can write).
#include "runtime/tool_services.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

class ToolServices : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        CurrentDirectory() + "\\tool-services-" + ToText(static_cast<int>(CurrentProcessId()));
    RemoveFolderTree(folder_);
    ASSERT_TRUE(MakeFolder(folder_));
  }
  void TearDown() override { RemoveFolderTree(folder_); }

  Text Path(const Text& name) const { return folder_ + "\\" + name; }
  static bool Write(const Text& path, const std::string& content) {
    return WriteFileBytes(path, {Bytes(content.begin(), content.end())});
  }
  static std::string Read(const Text& path) {
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
  }

  Text folder_;
};

TEST_F(ToolServices, FoldersAreMadeWithTheirParentsAndRemovedWithAllTheyHold) {
  const Text deep = Path("a\\b\\c");
  EXPECT_TRUE(MakeFolder(deep));
  EXPECT_TRUE(MakeFolder(deep)) << "an existing folder is no failure";
  ASSERT_TRUE(Write(deep + "\\file.txt", "content"));
  RemoveFolderTree(Path("a"));
  EXPECT_FALSE(FileExists(Path("a")));
  RemoveFolderTree(Path("a"));  // already gone: nothing to do, nothing to fail
  EXPECT_TRUE(FileExists(folder_));

  ASSERT_TRUE(Write(Path("plain"), "x"));
  EXPECT_FALSE(MakeFolder(Path("plain\\below"))) << "a file stands where a folder must go";
  EXPECT_FALSE(MakeFolder(""));
}

TEST_F(ToolServices, AMoveReplacesTheTargetWholeAndAFailedOneTouchesNothing) {
  ASSERT_TRUE(Write(Path("new"), "new content"));
  ASSERT_TRUE(Write(Path("target"), "old"));
  EXPECT_TRUE(MoveFileReplacing(Path("new"), Path("target")));
  EXPECT_EQ(Read(Path("target")), "new content");
  EXPECT_FALSE(FileExists(Path("new")));

  EXPECT_FALSE(MoveFileReplacing(Path("missing"), Path("target")));
  EXPECT_EQ(Read(Path("target")), "new content");
  EXPECT_FALSE(MoveFileReplacing(Path("target"), Path("no-folder\\target")));
  EXPECT_EQ(Read(Path("target")), "new content");
}

TEST_F(ToolServices, AFileIsHeldByOneHolderAtATime) {
  ASSERT_TRUE(Write(Path("program"), "the held file stays readable"));
  {
    FileHold first(Path("program"), 0);
    ASSERT_TRUE(first.Held());
    FileHold second(Path("program"), 300);
    EXPECT_FALSE(second.Held()) << "a second holder waits out its time and gives up";
    EXPECT_EQ(Read(Path("program")), "the held file stays readable");
  }
  FileHold after(Path("program"), 0);
  EXPECT_TRUE(after.Held()) << "the first holder let go when it went";

  FileHold missing(Path("missing"), 0);
  EXPECT_FALSE(missing.Held());

  // A lock file made by two processes at once is one file: the second making replaces nothing,
  // so its holder waits for the first's.
  ASSERT_TRUE(MakeFileIfMissing(Path("lock")));
  FileHold lock(Path("lock"), 0);
  ASSERT_TRUE(lock.Held());
  EXPECT_TRUE(MakeFileIfMissing(Path("lock")));
  EXPECT_FALSE(FileHold(Path("lock"), 0).Held());
  EXPECT_TRUE(MakeFileIfMissing(Path("program")));
  EXPECT_EQ(Read(Path("program")), "the held file stays readable") << "an existing file stays";
  EXPECT_FALSE(MakeFileIfMissing(folder_)) << "a folder is no file";
  EXPECT_FALSE(MakeFileIfMissing(Path("no-folder\\lock")));
}

TEST_F(ToolServices, Utf8ConversionsKeepEveryCharacterOrSayTheyCannot) {
  const std::string utf8 = "\xE5\xBA\x97\xE9\x93\xBA memo";  // "店铺 memo"
  EXPECT_EQ(Utf8ToTextExact(utf8), std::optional<Text>("店铺 memo"));
  EXPECT_EQ(TextToUtf8("店铺 memo"), utf8);
  EXPECT_EQ(Utf8ToTextExact(""), std::optional<Text>(""));
  EXPECT_EQ(Utf8ToTextExact("\xE5\xBA"), std::nullopt) << "a cut character is not UTF-8";
  EXPECT_EQ(Utf8ToTextExact("\xF0\x9F\x98\x80"), std::nullopt) << "GBK has no emoji";
}

}  // namespace
}  // namespace kesto
