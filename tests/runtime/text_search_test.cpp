#include <gtest/gtest.h>

#include "runtime/core.h"

namespace kesto {
namespace {

// "乙" is the GBK pair D2 D2; "啊" is B0 A1; "\xB0\x41" is a pair whose second byte is "A".
TEST(FindText, CountsOneBasedAndFailsWithMinusOne) {
  EXPECT_EQ(FindText("abcabc", "c"), 3);
  EXPECT_EQ(FindText("abcabc", "c", 4), 6);
  EXPECT_EQ(FindText("abcabc", "x"), -1);
  EXPECT_EQ(FindText("abc", "c", 4), -1);
  EXPECT_EQ(FindText("abc", "a", -5), 1);
  EXPECT_EQ(FindText("aBc", "b", {}, true), 2);
  EXPECT_EQ(FindText("aBc", "b"), -1);
}

TEST(FindText, EmptyFindOnlyMatchesANonEmptySearchedPart) {
  EXPECT_EQ(FindText("", ""), -1);
  EXPECT_EQ(FindText("abc", ""), 1);
  EXPECT_EQ(FindText("abc", "", 3), 1);
  EXPECT_EQ(FindText("abc", "", 4), -1);
  EXPECT_EQ(FindLastText("abc", "", 1), -1);
}

TEST(FindText, NeverMatchesOnTheSecondByteOfAPair) {
  // The pair D2 D2 followed by D2: a search for the pair must not start at byte 2.
  EXPECT_EQ(FindText("x\xD2\xD2\xD2\xD2", "\xD2\xD2"), 2);
  EXPECT_EQ(FindText("\xB0\x41", "A"), -1);
  EXPECT_EQ(FindText("\xB0\x41"
                     "A",
                     "A"),
            3);
  EXPECT_EQ(FindText("\xB0\x61", "A", {}, true), -1);
  EXPECT_EQ(FindLastText("\xB0\x41\xB0\x41", "A"), -1);
  // A find that ends on a lead byte would cut a pair.
  EXPECT_EQ(FindText("\xB0\xA1", "\xB0"), -1);
}

// A four-byte character (lead, digit, lead, digit) is one character: two of them side by side
// hold a valid four-byte character across their middle, and a digit inside one is no digit.
TEST(FindText, NeverMatchesInsideAFourByteCharacter) {
  const Text twoChars = "\x81\x30\x81\x31\x81\x30\x82\x30";
  EXPECT_EQ(FindText(twoChars, "\x81\x31\x81\x30"), -1);
  EXPECT_EQ(FindLastText(twoChars, "\x81\x31\x81\x30"), -1);
  EXPECT_EQ(FindText(twoChars, "\x81\x30\x82\x30"), 5);
  EXPECT_EQ(FindText("\x81\x30\x81\x30"
                     "0",
                     "0"),
            5);
  EXPECT_EQ(FindLastText("\x81\x30\x81\x30", "0"), -1);
  EXPECT_EQ(ReplaceText(twoChars, "\x81\x31\x81\x30", "x"), twoChars);
  EXPECT_EQ(SplitText(twoChars, "\x81\x31\x81\x30").Count(), 1);
  EXPECT_EQ(SplitText("a\x94\x39\xFC\x36\\b", "\\").Count(), 2);
}

TEST(FindText, IgnoreCaseFoldsOnlyOneByteLetters) {
  EXPECT_EQ(FindText("\xB0\x41x", "\xB0\x61X", {}, true), -1);
  EXPECT_EQ(FindText("\xB0\x41x", "\xB0\x41X", {}, true), 1);
}

TEST(FindLastText, KeepsTheLastMatchInsideTheSearchedPart) {
  EXPECT_EQ(FindLastText("a\\b\\c", "\\"), 4);
  EXPECT_EQ(FindLastText("a\\b\\c", "\\", 4), 2);
  EXPECT_EQ(FindLastText("a\\b\\c", "\\", 2), -1);
  EXPECT_EQ(FindLastText("abab", "AB", {}, true), 3);
  EXPECT_EQ(FindLastText("abc", "x"), -1);
}

TEST(ReplaceText, ReplacesFromStartUpToCount) {
  EXPECT_EQ(ReplaceText("a/b/c", "/", "\\"), "a\\b\\c");
  EXPECT_EQ(ReplaceText("abc", "/", "\\"), "abc");
  EXPECT_EQ(ReplaceText("a/b/c/d", "/", "-", 3), "a/b-c-d");
  EXPECT_EQ(ReplaceText("a/b/c/d", "/", "-", {}, 2), "a-b-c/d");
  EXPECT_EQ(ReplaceText("a/b", "/", "-", {}, 0), "a/b");
  EXPECT_EQ(ReplaceText("a/b", "/", "-", {}, -1), "a/b");
  EXPECT_EQ(ReplaceText("a/b", "/", "-", 4), "a/b");
  EXPECT_EQ(ReplaceText("aXbx", "x"), "aXb");
  EXPECT_EQ(ReplaceText("aXbx", "x", "", {}, {}, false), "ab");
  EXPECT_EQ(ReplaceText("", "x", "y"), "");
  EXPECT_EQ(ReplaceText("abc", "", "y"), "abc");
}

TEST(ReplaceText, LeavesPairsWhole) {
  // The second byte of B0 5C is "\": it is not a separator.
  EXPECT_EQ(ReplaceText("\xB0\x5C/", "\\", "/"), "\xB0\x5C/");
  EXPECT_EQ(ReplaceText("\\\xB0\x5C\\", "\\", "/"), "/\xB0\x5C/");
}

}  // namespace
}  // namespace kesto
