// Files and folder listings through the W functions, with names converted at the edge.
#include <windows.h>

#include <filesystem>
#include <set>

#include "runtime/core.h"
#include "runtime/tool_services.h"
#include "tests/runtime/names_in_many_scripts.h"
#include "tests/runtime/win32/temp_folder.h"

namespace kesto {
namespace {

using Files = testing::TempFolder;

// "中文.txt" in GBK, as the program holds it, and in UTF-16, as the file system holds it.
const Text kGbkName = "\xD6\xD0\xCE\xC4.txt";
const std::wstring kWideName = L"\u4E2D\u6587.txt";

std::set<Text> Listing(const Text& pattern, int mask, bool filesOnly) {
  std::set<Text> names;
  FindHandle handle = 0;
  for (Text name = FindFiles(pattern, mask, filesOnly, handle); !name.empty();
       name = FindFiles("", mask, filesOnly, handle)) {
    names.insert(name);
  }
  EXPECT_EQ(handle, 0);
  return names;
}

TEST_F(Files, GbkNameIsMadeListedAndReadBack) {
  ASSERT_TRUE(WriteFileBytes(Inside(kGbkName), {Bytes{'a', 0, 'b'}, Bytes{0xB0, 0xA1}}));
  EXPECT_TRUE(std::filesystem::exists(Wide(kWideName)));
  EXPECT_EQ(Listing(Inside("*.txt"), 0, true), std::set<Text>{kGbkName});
  EXPECT_EQ(ReadFileBytes(Inside(kGbkName)), (Bytes{'a', 0, 'b', 0xB0, 0xA1}));
  EXPECT_TRUE(FileExists(Inside(kGbkName)));
  // A name in another script comes back as the text that names it again.
  WriteWide(L"\uAC00t\uAC00.dat", "x");
  const std::set<Text> listed = Listing(Inside("*.dat"), 0, true);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed.begin()->find('?'), Text::npos);
  EXPECT_EQ(ToText(ReadFileBytes(Inside(*listed.begin()))), "x");
}

// A program folder in any script: the current directory names it exactly, and the files built
// on it, listed in it and written in it are the ones on disk. No short (8.3) name is needed.
TEST_F(Files, FoldersInAnyScriptRoundTrip) {
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  for (std::u8string_view script : testing::kNamesInManyScripts) {
    const std::wstring name = testing::WideName(script);
    const Text inside = win32::FromWide(name);
    SCOPED_TRACE(TextToUtf8(inside));
    std::filesystem::create_directory(Wide(name));
    WriteWide(name + L"\\qmztx.ini", "[wm]\r\n");
    ASSERT_TRUE(SetCurrentDirectoryW(Wide(name).c_str()));
    const Text here = CurrentDirectory();
    SetCurrentDirectoryW(before);
    EXPECT_EQ(here, Inside(inside));
    EXPECT_EQ(win32::ToWideExact(inside), name);
    EXPECT_EQ(ToText(ReadFileBytes(here + "\\qmztx.ini")), "[wm]\r\n");
    EXPECT_TRUE(WriteFileBytes(here + "\\" + inside + ".dat", {Bytes{'x'}}));
    EXPECT_EQ(ReadWide(name + L"\\" + name + L".dat"), "x");
    EXPECT_EQ(Listing(here + "\\*.dat", 0, true), std::set<Text>{inside + ".dat"});
  }
}

// Paths longer than the plain forms take (260 characters) are made, read, listed, moved and
// removed like any other.
TEST_F(Files, PathsBeyond260CharactersWork) {
  Text folder = Inside();
  for (int i = 0; i < 12; ++i) folder += "\\" + Text(25, static_cast<char>('a' + i));
  ASSERT_GT(folder.size(), 300u);
  ASSERT_TRUE(MakeFolder(folder + "\\app"));
  const Text ini = folder + "\\qmztx.ini";
  EXPECT_TRUE(WriteFileBytes(ini, {ToBytes("[wm]")}));
  EXPECT_TRUE(FileExists(ini));
  EXPECT_EQ(ToText(ReadFileBytes(ini)), "[wm]");
  EXPECT_EQ(Listing(folder + "\\*", kAttrDirectory, false), (std::set<Text>{".", "..", "app"}));
  EXPECT_TRUE(MoveFileReplacing(ini, folder + "\\app\\moved.ini"));
  EXPECT_EQ(ToText(ReadFileBytes(folder + "\\app\\moved.ini")), "[wm]");
  EXPECT_FALSE(FolderIdentity(folder + "\\app").empty());
  const Text first = Inside(Text(25, 'a'));
  RemoveFolderTree(first);
  EXPECT_FALSE(FileExists(first));
}

TEST_F(Files, ListingsFilterByTheSystemsAttributes) {
  WriteWide(L"plain.qmz", "x");
  WriteWide(L"hidden.qmz", "x");
  SetFileAttributesW(Wide(L"hidden.qmz").c_str(), FILE_ATTRIBUTE_HIDDEN);
  std::filesystem::create_directory(Wide(L"app"));
  EXPECT_EQ(Listing(Inside("*"), kAttrDirectory, false), (std::set<Text>{".", "..", "app"}));
  EXPECT_EQ(Listing(Inside("*.*"), 0, true), (std::set<Text>{"hidden.qmz", "plain.qmz"}));
  EXPECT_EQ(Listing(Inside("*.qmz"), kAttrHidden, false), std::set<Text>{"hidden.qmz"});
  EXPECT_EQ(Listing(Inside("*.ini"), 0, true), std::set<Text>{});
  EXPECT_EQ(Listing(Inside("*\\x"), 0, true), std::set<Text>{});
}

TEST_F(Files, ClosingAndUnknownHandlesAreHarmless) {
  WriteWide(L"a.qmz", "x");
  WriteWide(L"b.qmz", "x");
  FindHandle handle = 0;
  EXPECT_FALSE(FindFiles(Inside("*.qmz"), 0, true, handle).empty());
  EXPECT_NE(handle, 0);
  CloseFind(handle);
  EXPECT_EQ(handle, 0);
  FindHandle unknown = 12345;
  EXPECT_EQ(FindFiles("", 0, true, unknown), "");
  CloseFind(unknown);
  EXPECT_EQ(unknown, 0);
}

TEST_F(Files, AFileOpenForWritingReadsAsEmpty) {
  WriteWide(L"busy.bin", "content");
  HANDLE writer = CreateFileW(Wide(L"busy.bin").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadFileBytes(Inside("busy.bin")), Bytes{});
  CloseHandle(writer);
  EXPECT_EQ(ReadFileBytes(Inside("busy.bin")), ToBytes("content"));
}

TEST_F(Files, FailuresReadEmptyAndWriteFalse) {
  std::filesystem::create_directory(Wide(L"folder"));
  EXPECT_EQ(ReadFileBytes(Inside("missing")), Bytes{});
  EXPECT_EQ(ReadFileBytes(Inside("folder")), Bytes{});
  EXPECT_EQ(ReadFileBytes(""), Bytes{});
  EXPECT_FALSE(WriteFileBytes("", {Bytes{'x'}}));
  EXPECT_FALSE(WriteFileBytes(Inside("no\\such\\x.bin"), {Bytes{'x'}}));
  EXPECT_FALSE(WriteFileBytes(Inside("folder"), {Bytes{'x'}}));
  // A lead byte without its second byte names no file.
  EXPECT_FALSE(WriteFileBytes(Inside("\xB0"), {Bytes{'x'}}));
  EXPECT_FALSE(FileExists(Inside("missing")));
  EXPECT_TRUE(FileExists(Inside("fold?r")));
}

// A replacement that cannot be finished (the file read-only, held by a reader that does not
// let it go, or the writer giving up half-way) leaves the old file whole and no temporary file;
// one left by a writer that is gone is cleared by the next writer.
TEST_F(Files, AReplacementThatCannotFinishKeepsTheOldFileWhole) {
  const auto names = [this] {
    std::set<std::wstring> found;
    for (const auto& entry : std::filesystem::directory_iterator(Wide())) {
      found.insert(entry.path().filename().wstring());
    }
    return found;
  };
  WriteWide(L"up.qmz", "the working updater");
  WriteWide(L".up.qmz.4000000-0.tmp", "left by a writer killed long ago");
  {
    FileReplacement half(Inside("up.qmz"));
    EXPECT_TRUE(half.Write(reinterpret_cast<const std::uint8_t*>("half"), 4));
  }
  EXPECT_EQ(ReadWide(L"up.qmz"), "the working updater");
  EXPECT_EQ(names(), std::set<std::wstring>{L"up.qmz"});

  HANDLE reader = CreateFileW(Wide(L"up.qmz").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteFileBytes(Inside("up.qmz"), {ToBytes("a new updater")}));
  CloseHandle(reader);
  EXPECT_EQ(ReadWide(L"up.qmz"), "the working updater");

  SetFileAttributesW(Wide(L"up.qmz").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(WriteFileBytes(Inside("up.qmz"), {ToBytes("a new updater")}));
  SetFileAttributesW(Wide(L"up.qmz").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadWide(L"up.qmz"), "the working updater");
  EXPECT_EQ(names(), std::set<std::wstring>{L"up.qmz"});

  EXPECT_TRUE(WriteFileBytes(Inside("up.qmz"), {ToBytes("a new "), ToBytes("updater")}));
  EXPECT_EQ(ReadWide(L"up.qmz"), "a new updater");
  EXPECT_EQ(names(), std::set<std::wstring>{L"up.qmz"});
}

TEST_F(Files, FolderIdentityIsTheSameForEverySpelling) {
  std::filesystem::create_directory(Wide(L"app"));
  Text identity = FolderIdentity(Inside("app"));
  EXPECT_FALSE(identity.empty());
  EXPECT_EQ(FolderIdentity(Inside("APP\\.")), identity);
  EXPECT_EQ(FolderIdentity(Inside("app\\..\\app")), identity);
  EXPECT_NE(FolderIdentity(Inside()), identity);
  WriteWide(L"file", "x");
  EXPECT_EQ(FolderIdentity(Inside("file")), "");
  EXPECT_EQ(FolderIdentity(Inside("missing")), "");
}

TEST_F(Files, AnyExistingFileCanRun) {
  WriteWide(L"up.qmz", "x");
  EXPECT_TRUE(MakeRunnable(Inside("up.qmz")));
  EXPECT_FALSE(MakeRunnable(Inside("missing")));
  EXPECT_FALSE(MakeRunnable(Inside()));
}

}  // namespace
}  // namespace kesto
