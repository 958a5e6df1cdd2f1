#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "runtime/core.h"
#include "tests/runtime/names_in_many_scripts.h"
#include "tests/runtime/posix/temp_folder.h"

namespace kesto {
namespace {

using Files = testing::TempFolder;

TEST_F(Files, ExistsForFilesFoldersAndWildcardMatches) {
  WriteNative("up.qmz", "x");
  std::filesystem::create_directory(Native("app"));
  EXPECT_TRUE(FileExists(Inside("up.qmz")));
  EXPECT_TRUE(FileExists(Inside("app")));
  EXPECT_TRUE(FileExists(Inside("*.qmz")));
  EXPECT_TRUE(FileExists(Inside("U?.QMZ")));
  EXPECT_FALSE(FileExists(Inside("*.ini")));
  EXPECT_FALSE(FileExists(Inside("missing")));
  EXPECT_FALSE(FileExists(Inside("app\\")));
  EXPECT_FALSE(FileExists(""));
  // Every folder holds ".", so a pattern for all names finds something in an empty one.
  EXPECT_TRUE(FileExists(Inside("app\\*.*")));
  EXPECT_FALSE(FileExists(Inside("*\\up.qmz")));
}

TEST_F(Files, WholeFilesRoundTripWithZeroBytes) {
  Bytes first{'a', 0, 'b'};
  Bytes second{0xB0, 0xA1};
  ASSERT_TRUE(WriteFileBytes(Inside("data.bin"), {first, second, {}}));
  EXPECT_EQ(ReadFileBytes(Inside("data.bin")), (Bytes{'a', 0, 'b', 0xB0, 0xA1}));
  ASSERT_TRUE(WriteFileBytes(Inside("data.bin"), {Bytes{'z'}}));
  EXPECT_EQ(ReadNative("data.bin"), "z");
  ASSERT_TRUE(WriteFileBytes(Inside("empty.bin"), {}));
  EXPECT_TRUE(FileExists(Inside("empty.bin")));
}

TEST_F(Files, FailuresReadEmptyAndWriteFalse) {
  std::filesystem::create_directory(Native("folder"));
  EXPECT_EQ(ReadFileBytes(Inside("missing")), Bytes{});
  EXPECT_EQ(ReadFileBytes(Inside("folder")), Bytes{});
  EXPECT_EQ(ReadFileBytes(""), Bytes{});
  EXPECT_FALSE(WriteFileBytes("", {Bytes{'x'}}));
  EXPECT_FALSE(WriteFileBytes(Inside("no\\such\\x.bin"), {Bytes{'x'}}));
  EXPECT_FALSE(WriteFileBytes(Inside("folder"), {Bytes{'x'}}));
  EXPECT_TRUE(std::filesystem::is_directory(Native("folder")));
  // A pipe reads as empty at once instead of waiting for a writer.
  ASSERT_EQ(mkfifo(Native("pipe").c_str(), 0600), 0);
  EXPECT_EQ(ReadFileBytes(Inside("pipe")), Bytes{});
}

TEST_F(Files, ReplacingKeepsPermissionsAndLeavesNoTemporaryFile) {
  WriteNative("qmztx.ini", "old");
  ASSERT_EQ(chmod(Native("qmztx.ini").c_str(), 0640), 0);
  std::filesystem::create_symlink(Native("qmztx.ini"), Native("link.ini"));
  ASSERT_TRUE(WriteFileBytes(Inside("link.ini"), {ToBytes("new")}));
  EXPECT_TRUE(std::filesystem::is_symlink(Native("link.ini")));
  EXPECT_EQ(ReadNative("qmztx.ini"), "new");
  struct stat info;
  ASSERT_EQ(stat(Native("qmztx.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  int entries = 0;
  for (auto& entry : std::filesystem::directory_iterator(Native())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 2);
}

TEST_F(Files, AFileListedAsReadOnlyIsNeverReplaced) {
  // Decided by the permission bits, as the listing decides it, so it holds for root as well.
  WriteNative("locked.dat", "old");
  ASSERT_EQ(chmod(Native("locked.dat").c_str(), 0444), 0);
  std::filesystem::create_symlink(Native("locked.dat"), Native("link.dat"));
  FindHandle handle = 0;
  ASSERT_EQ(FindFiles(Inside("locked.dat"), kAttrReadOnly, false, handle), "locked.dat");
  CloseFind(handle);
  EXPECT_FALSE(WriteFileBytes(Inside("locked.dat"), {ToBytes("new")}));
  EXPECT_FALSE(WriteFileBytes(Inside("link.dat"), {ToBytes("new")}));
  EXPECT_EQ(ReadNative("locked.dat"), "old");
  // The owner's write permission is what counts.
  ASSERT_EQ(chmod(Native("locked.dat").c_str(), 0200), 0);
  EXPECT_TRUE(WriteFileBytes(Inside("locked.dat"), {ToBytes("new")}));
}

TEST_F(Files, GbkNamesMapToUtf8OnDisk) {
  Text name = "应用\xB0\x5C.dat";  // the last pair's second byte is "\"
  ASSERT_TRUE(WriteFileBytes(Inside(name), {ToBytes("x")}));
  EXPECT_TRUE(std::filesystem::exists(Native(posix::GbkToUtf8(name))));
  FindHandle handle = 0;
  EXPECT_EQ(FindFiles(Inside("*.dat"), 0, true, handle), name);
  CloseFind(handle);
  // Bytes that are not GBK name no file.
  EXPECT_FALSE(WriteFileBytes(Inside("\x81"), {ToBytes("x")}));
}

// A program folder in any script: the current directory names it exactly, and the files
// built on it, listed in it and written in it are the ones on disk.
TEST_F(Files, FoldersInAnyScriptRoundTrip) {
  const auto previous = std::filesystem::current_path();
  for (std::u8string_view script : testing::kNamesInManyScripts) {
    const std::string name(script.begin(), script.end());
    SCOPED_TRACE(name);
    std::filesystem::create_directory(Native(name));
    WriteNative(name + "/qmztx.ini", "[wm]\r\n");
    std::filesystem::current_path(Native(name));
    const Text here = CurrentDirectory();
    std::filesystem::current_path(previous);
    EXPECT_EQ(here, Inside(posix::Utf8ToGbk(name)));
    EXPECT_EQ(ToText(ReadFileBytes(here + "\\qmztx.ini")), "[wm]\r\n");
    EXPECT_TRUE(WriteFileBytes(here + "\\" + posix::Utf8ToGbk(name) + ".dat", {ToBytes("x")}));
    EXPECT_EQ(ReadNative(name + "/" + name + ".dat"), "x");
    FindHandle handle = 0;
    EXPECT_EQ(FindFiles(here + "\\*.dat", 0, true, handle), posix::Utf8ToGbk(name) + ".dat");
    CloseFind(handle);
  }
}

TEST_F(Files, CurrentDirectoryUsesBackslashes) {
  auto previous = std::filesystem::current_path();
  std::filesystem::create_directory(Native("sub"));
  std::filesystem::current_path(Native("sub"));
  EXPECT_EQ(CurrentDirectory(), Inside("sub"));
  std::filesystem::current_path("/");
  EXPECT_EQ(CurrentDirectory(), "\\");
  std::filesystem::current_path(previous);
}

class Listing : public testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    WriteNative("a.gif", "x");
    WriteNative("B.GIF", "x");
    WriteNative("c.dat", "x");
    WriteNative(".hidden", "x");
    WriteNative("locked.txt", "x");
    chmod(Native("locked.txt").c_str(), 0444);
    std::filesystem::create_directory(Native("tool"));
  }

  std::vector<Text> All(const Text& pattern, int mask, bool filesOnly) {
    std::vector<Text> names;
    FindHandle handle = 0;
    for (Text name = FindFiles(pattern, mask, filesOnly, handle); !name.empty();
         name = FindFiles("", mask, filesOnly, handle)) {
      names.push_back(name);
    }
    EXPECT_EQ(handle, 0);
    return names;
  }
};

TEST_F(Listing, StarDotStarListsEveryNameInAFixedOrder) {
  EXPECT_EQ(
      All(Inside("*.*"), 0x37, false),
      (std::vector<Text>{".", "..", ".hidden", "a.gif", "B.GIF", "c.dat", "locked.txt", "tool"}));
  EXPECT_EQ(All(Inside("*.gif"), 0x37, false), (std::vector<Text>{"a.gif", "B.GIF"}));
  EXPECT_EQ(All(Inside("c.dat"), 0x37, false), (std::vector<Text>{"c.dat"}));
}

TEST_F(Listing, AttributeMaskSelectsEntries) {
  EXPECT_EQ(All(Inside("*"), kAttrDirectory, false), (std::vector<Text>{".", "..", "tool"}));
  EXPECT_EQ(All(Inside("*"), kAttrHidden, false), (std::vector<Text>{".hidden"}));
  EXPECT_EQ(All(Inside("*"), kAttrReadOnly, false), (std::vector<Text>{"locked.txt"}));
  EXPECT_EQ(All(Inside("*"), 0, false), (std::vector<Text>{}));
  EXPECT_EQ(All(Inside("*"), kAttrDirectory, true),
            (std::vector<Text>{".hidden", "a.gif", "B.GIF", "c.dat", "locked.txt"}));
}

TEST_F(Listing, HandlesAreSafeToMisuse) {
  FindHandle handle = 12345;
  EXPECT_EQ(FindFiles("", 0x37, false, handle), "");
  CloseFind(handle);
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(FindFiles(Inside("missing\\*"), 0x37, false, handle), "");
  EXPECT_EQ(handle, 0);
  // A new pattern ends the listing the handle held.
  EXPECT_EQ(FindFiles(Inside("*.gif"), 0x37, false, handle), "a.gif");
  EXPECT_EQ(FindFiles(Inside("*.dat"), 0x37, false, handle), "c.dat");
  EXPECT_EQ(FindFiles("", 0x37, false, handle), "");
}

// One listing gives what the two searches of a folder walk give: the folders and the files,
// each in the search's order; a link counts as what it leads to.
TEST_F(Listing, ListFolderMarksFoldersAsTheSearchesSeeThem) {
  std::filesystem::create_directory_symlink(Native("tool"), Native("tool-link"));
  std::filesystem::create_symlink(Native("c.dat"), Native("c-link.dat"));
  std::vector<Text> folders, files;
  for (const ListedEntry& entry : ListFolder(Inside("*.*"))) {
    (entry.folder ? folders : files).push_back(entry.name);
  }
  EXPECT_EQ(folders, All(Inside("*.*"), kAttrDirectory, false));
  EXPECT_EQ(files, All(Inside("*.*"), 0, true));
  EXPECT_EQ(folders, (std::vector<Text>{".", "..", "tool", "tool-link"}));
  ASSERT_EQ(ListFolder(Inside("*.GIF")).size(), 2u);
  EXPECT_TRUE(ListFolder(Inside("missing\\*.*")).empty());
  EXPECT_TRUE(ListFolder("").empty());
}

}  // namespace
}  // namespace kesto
