#include "apps/path_helpers.h"

#include <gtest/gtest.h>

namespace kesto::apps {
namespace {

TEST(NormalisePath, FoldsSlashesDoubledBackslashesAndOneTrailingBackslash) {
  EXPECT_EQ(NormalisePath("C:/kesto//app\\\\tools\\"), "C:\\kesto\\app\\tools");
  // One left-to-right pass: three backslashes become two.
  EXPECT_EQ(NormalisePath("a\\\\\\b"), "a\\\\b");
  EXPECT_EQ(NormalisePath("a\\\\"), "a");
  EXPECT_EQ(NormalisePath(""), "");
}

TEST(SeparatorHelpers, PickFirstOrLastOccurrenceAndGiveEmptyWithoutOne) {
  EXPECT_EQ(TextAfterSeparator("a.b.qmz", "."), "qmz");
  EXPECT_EQ(TextAfterSeparator("a.b.qmz", ".", true), "b.qmz");
  EXPECT_EQ(TextAfterSeparator("noext", "."), "");
  EXPECT_EQ(TextBeforeSeparator("a.b.qmz", "."), "a");
  EXPECT_EQ(TextBeforeSeparator("a.b.qmz", ".", true), "a.b");
  EXPECT_EQ(TextBeforeSeparator("noext", "."), "");
}

TEST(ParentFolderOf, CutsBeforeTheLastSeparatorOfTheNormalisedPath) {
  EXPECT_EQ(ParentFolderOf("\\home\\u\\app\\tools\\x.qmz"), "\\home\\u\\app\\tools");
  EXPECT_EQ(ParentFolderOf("C:/app//x.qmz"), "C:\\app");
  EXPECT_EQ(ParentFolderOf("x.qmz"), "");
}

TEST(FileNameOf, TakesTheLastNonEmptyElementAndCutsAtTheFirstDot) {
  EXPECT_EQ(FileNameOf("\\app\\tools\\x.setup.qmz"), "x.setup.qmz");
  EXPECT_EQ(FileNameOf("\\app\\tools\\x.setup.qmz", true), "x");
  EXPECT_EQ(FileNameOf("\\app\\tools\\\\", false), "tools");
  EXPECT_EQ(FileNameOf("\\app\\README", true), "");
  EXPECT_EQ(FileNameOf("", true), "");
}

// GBK lets "\" (0x5C) be the second byte of a character; it must never count as a separator.
TEST(PathHelpers, NeverSplitATwoByteCharacterEndingInBackslashByte) {
  const Text name =
      "\x81\x5C"
      "tool.qmz";
  const Text path = "\\app\\" + name;
  EXPECT_EQ(FileNameOf(path), name);
  EXPECT_EQ(FileNameOf(path, true),
            "\x81\x5C"
            "tool");
  EXPECT_EQ(ParentFolderOf(path), "\\app");
  EXPECT_EQ(NormalisePath("\\app\\\x81\x5C"), "\\app\\\x81\x5C");
}

}  // namespace
}  // namespace kesto::apps
