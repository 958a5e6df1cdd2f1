// Profile files on Windows: the platform's own byte-exact profile code, with the guards in front.
#include <windows.h>

#include <filesystem>

#include "runtime/core.h"
#include "tests/runtime/win32/temp_folder.h"

namespace kesto {
namespace {

class ProfileFiles : public testing::TempFolder {
 protected:
  Text Ini() const { return Inside("qmztx.ini"); }
  Text Read(const Text& section, const Text& key, const Text& fallback = "") {
    return ReadIniValue(Ini(), section, key, fallback);
  }
};

TEST_F(ProfileFiles, WritesAndReadsBackGbkBytesAsTheyStand) {
  const Text title = "\xD6\xD0\xCE\xC4";  // "中文"
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", "pt", "12345"));
  ASSERT_TRUE(WriteIniValue(Ini(), "wm", title, title));
  EXPECT_EQ(Read("jb", "pt"), "12345");
  EXPECT_EQ(Read(" JB", "\tPT"), "12345");
  EXPECT_EQ(Read("wm", title), title);
  EXPECT_EQ(ReadWide(L"qmztx.ini"), "[jb]\r\npt=12345\r\n[wm]\r\n" + title + "=" + title + "\r\n");
}

TEST_F(ProfileFiles, DefaultsAndEmptyNames) {
  EXPECT_EQ(Read("jb", "missing", "fallback"), "fallback");
  EXPECT_EQ(Read("jb", "", "fallback"), "");
  EXPECT_EQ(Read(" ", "pt", "fallback"), "");
  EXPECT_EQ(ReadIniValue("", "jb", "pt", "fallback"), "");
}

TEST_F(ProfileFiles, RemovesKeysAndSections) {
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", "a", "1"));
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", "b", "2"));
  ASSERT_TRUE(WriteIniValue(Ini(), "wm", "run", "pt"));
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", "a"));
  EXPECT_EQ(Read("jb", "a", "gone"), "gone");
  EXPECT_EQ(Read("jb", "b"), "2");
  ASSERT_TRUE(WriteIniValue(Ini(), "jb"));
  EXPECT_EQ(Read("jb", "b", "gone"), "gone");
  EXPECT_EQ(Read("wm", "run"), "pt");
}

TEST_F(ProfileFiles, RefusesWhatWouldNotReadBack) {
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", "pt", "1"));
  std::string before = ReadWide(L"qmztx.ini");
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", "pt", "2\r\n[evil]"));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", "a\nb", "2"));
  EXPECT_FALSE(WriteIniValue(Ini(), "j]b", "pt", "2"));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", "a=b", "2"));
  EXPECT_FALSE(WriteIniValue(Ini(), "jb", " [x", "2"));
  EXPECT_FALSE(WriteIniValue(Ini(), "", "pt", "2"));
  EXPECT_FALSE(WriteIniValue("", "jb", "pt", "2"));
  EXPECT_EQ(ReadWide(L"qmztx.ini"), before);
}

TEST_F(ProfileFiles, LongValuesAreCutToTheBuffer) {
  ASSERT_TRUE(WriteIniValue(Ini(), "jb", "long", Text(12000, 'v')));
  EXPECT_EQ(Read("jb", "long"), Text(10239, 'v'));
}

// The profile calls hold a name or value of at most 32766 bytes; a longer one (a hostile page's
// application key, say) is refused before it reaches them, and the file keeps what it had.
TEST_F(ProfileFiles, TextsTheProfileCallsCannotTakeAreRefused) {
  ASSERT_TRUE(WriteIniValue(Ini(), "wm", "run", Text(32766, 'k')));
  const std::string before = ReadWide(L"qmztx.ini");
  EXPECT_FALSE(WriteIniValue(Ini(), "wm", "run", Text(32767, 'k')));
  EXPECT_FALSE(WriteIniValue(Ini(), "wm", Text(32767, 'k'), "1"));
  EXPECT_FALSE(WriteIniValue(Ini(), Text(32767, 's'), "run", "1"));
  EXPECT_EQ(ReadWide(L"qmztx.ini"), before);
}

TEST_F(ProfileFiles, GbkFolderNamesWorkWhateverTheSystemsCodePage) {
  const Text folder = Inside("\xD6\xD0\xCE\xC4");  // "中文"
  std::filesystem::create_directory(Wide(L"\u4E2D\u6587"));
  WriteWide(L"\u4E2D\u6587\\d.dat", "[ini]\r\nbt=1\r\n");
  EXPECT_EQ(ReadIniValue(folder + "\\d.dat", "ini", "bt"), "1");
  ASSERT_TRUE(WriteIniValue(folder + "\\qmztx.ini", "jb", "pt", "2"));
  EXPECT_EQ(ReadWide(L"\u4E2D\u6587\\qmztx.ini"), "[jb]\r\npt=2\r\n");
}

// Run by a CTest test of its own under a Unix locale whose Windows locale has no ANSI code page,
// which makes Wine's system code page UTF-8 (65001), as on a Windows with the "Unicode UTF-8"
// option on. The system's profile calls would read the GBK bytes as UTF-8 there and alter them.
class ProfileFilesUnderUtf8CodePage : public ProfileFiles {};

TEST_F(ProfileFilesUnderUtf8CodePage, GbkNamesAndValuesStayByteExact) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "not run under a UTF-8 system code page";
  const Text title = "\xD6\xD0\xCE\xC4";  // "中文"
  ASSERT_TRUE(WriteIniValue(Ini(), "app", title, title));
  ASSERT_TRUE(WriteIniValue(Ini(), "wm", "run", title));
  EXPECT_EQ(Read("app", title), title);
  EXPECT_EQ(Read("WM", "run"), title);
  EXPECT_EQ(ReadWide(L"qmztx.ini"),
            "[app]\r\n" + title + "=" + title + "\r\n[wm]\r\nrun=" + title + "\r\n");

  // In a folder with a GBK name, and in a file that holds UTF-8 after its byte-order mark.
  std::filesystem::create_directory(Wide(L"\u4E2D\u6587"));
  const std::string utf8Title = "\xE4\xB8\xAD\xE6\x96\x87";
  WriteWide(L"\u4E2D\u6587\\u.ini", "\xEF\xBB\xBF[wm]\r\nrun=" + utf8Title + "\r\n");
  const Text utf8File = Inside(title) + "\\u.ini";
  EXPECT_EQ(ReadIniValue(utf8File, "wm", "run"), title);
  ASSERT_TRUE(WriteIniValue(utf8File, "wm", title, "v" + title));
  EXPECT_EQ(ReadIniValue(utf8File, "wm", title), "v" + title);
  EXPECT_EQ(ReadWide(L"\u4E2D\u6587\\u.ini"), "\xEF\xBB\xBF[wm]\r\nrun=" + utf8Title + "\r\n" +
                                                  utf8Title + "=v" + utf8Title + "\r\n");
}

}  // namespace
}  // namespace kesto
