#include "apps/path_helpers.h"

#include <gtest/gtest.h>

namespace kesto::apps {
namespace {

TEST(PathHelpers, NormaliseAndSplitPathsAsTheScanNeedsThem) {
  EXPECT_EQ(NormalisePath("C:/kesto//app\\\\tools\\"), "C:\\kesto\\app\\tools");
  EXPECT_EQ(NormalisePath("a\\\\\\b"), "a\\\\b") << "one left-to-right pass";
  EXPECT_EQ(TextAfterSeparator("a.b.qmz", "."), "qmz");
  EXPECT_EQ(TextAfterSeparator("a.b.qmz", ".", true), "b.qmz");
  EXPECT_EQ(TextBeforeSeparator("a.b.qmz", ".", true), "a.b");
  EXPECT_EQ(TextBeforeSeparator("noext", "."), "");
  EXPECT_EQ(ParentFolderOf("C:/app//x.qmz"), "C:\\app");
  EXPECT_EQ(ParentFolderOf("x.qmz"), "");
  EXPECT_EQ(FileNameOf("\\app\\tools\\x.setup.qmz", true), "x");
  EXPECT_EQ(FileNameOf("\\app\\tools\\\\"), "tools");
  EXPECT_EQ(FileNameOf("\\app\\README", true), "");
}

// GBK lets "\" (0x5C) be the second byte of a character; it must never count as a separator.
TEST(PathHelpers, NeverSplitATwoByteCharacterEndingInTheBackslashByte) {
  const Text name =
      "\x81\x5C"
      "tool.qmz";
  EXPECT_EQ(FileNameOf("\\app\\" + name), name);
  EXPECT_EQ(ParentFolderOf("\\app\\" + name), "\\app");
  EXPECT_EQ(NormalisePath("\\app\\\x81\x5C"), "\\app\\\x81\x5C");
  EXPECT_EQ(NormalisePath("\\app\\\x81\x5C\\\\x"), "\\app\\\x81\x5C\\x");
}

// The name is the last non-empty element of the path split at its separators, for paths with
// separators at either end, runs of them, and the backslash byte inside a character.
TEST(PathHelpers, FileNameIsTheLastNonEmptyElement) {
  for (const Text path : {"", "\\", "\\\\\\", "a", "a\\", "\\a\\b\\\\\\", "/a/b/", "a/\\b.c.d",
                          "a\\\x81\x5C\\", "\x81\x5C", "\x81\x5C\\\x81\x5C.x", "x\\\x81"}) {
    Text expected;
    for (const Text& element : SplitText(ReplaceText(path, "/", "\\"), "\\")) {
      if (!element.empty()) expected = element;
    }
    EXPECT_EQ(FileNameOf(path), expected) << path;
    EXPECT_EQ(FileNameOf(path, true), TextBeforeSeparator(expected, ".")) << path;
  }
}

}  // namespace
}  // namespace kesto::apps
