#include <gtest/gtest.h>

#include "runtime/core.h"

namespace kesto {
namespace {

std::vector<Text> Items(const Array<Text>& array) {
  return array.Items();
}

TEST(TextSlices, ClampToTheText) {
  EXPECT_EQ(LeftText("abc", 2), "ab");
  EXPECT_EQ(LeftText("abc", 9), "abc");
  EXPECT_EQ(LeftText("abc", 0), "");
  EXPECT_EQ(LeftText("abc", -1), "");
  EXPECT_EQ(RightText("abc", 2), "bc");
  EXPECT_EQ(RightText("abc", 9), "abc");
  EXPECT_EQ(RightText("abc", -3), "");
  EXPECT_EQ(MidText("abcdef", 2, 3), "bcd");
  EXPECT_EQ(MidText("abcdef", 5, 9), "ef");
  EXPECT_EQ(MidText("abcdef", 0, 2), "");
  EXPECT_EQ(MidText("abcdef", 7, 1), "");
  EXPECT_EQ(MidText("abcdef", 1, 0), "");
  EXPECT_EQ(TextLength("信息"), 4);
}

TEST(TextChars, CharCodeIsASignedByte) {
  EXPECT_EQ(CharCode("\xC4\xE3"), -60);
  EXPECT_EQ(CharCode("aZ", 2), 'Z');
  EXPECT_EQ(CharCode("a", 2), 0);
  EXPECT_EQ(CharCode("a", 0), 0);
  EXPECT_EQ(CharText(65), "A");
  EXPECT_EQ(CharText(0), "");
  EXPECT_EQ(CharText(0xC4), "\xC4");
  EXPECT_EQ(Spaces(3), "   ");
  EXPECT_EQ(Spaces(0), "");
}

TEST(TextSpaces, HalfAndFullWidthSpacesGoTabsStay) {
  EXPECT_EQ(TrimBoth("  \xA1\xA1 a b\xA1\xA1 "), "a b");
  EXPECT_EQ(TrimBoth("\ta\r\n"), "\ta\r\n");
  EXPECT_EQ(TrimBoth("   "), "");
  // B0 A1 then A1: the trailing A1 A1 bytes are not a full-width space.
  EXPECT_EQ(TrimBoth("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
  EXPECT_EQ(TrimBoth("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  EXPECT_EQ(RemoveSpaces(" a \xA1\xA1"
                         "b c "),
            "abc");
  EXPECT_EQ(RemoveSpaces("\xB0\x20"), "\xB0\x20");
}

TEST(TextCase, LowersOnlyOneByteLetters) {
  EXPECT_EQ(ToLower("AbC-Z"), "abc-z");
  EXPECT_EQ(ToLower("\xB0\x41"
                    "A"),
            "\xB0\x41"
            "a");
}

TEST(SplitText, KeepsEmptyPartsExceptALastOne) {
  EXPECT_EQ(Items(SplitText("a,,b")), (std::vector<Text>{"a", "", "b"}));
  EXPECT_EQ(Items(SplitText(",a")), (std::vector<Text>{"", "a"}));
  EXPECT_EQ(Items(SplitText("a,")), (std::vector<Text>{"a"}));
  EXPECT_EQ(Items(SplitText(",")), (std::vector<Text>{""}));
  EXPECT_EQ(Items(SplitText("")), (std::vector<Text>{}));
  EXPECT_EQ(Items(SplitText("a,b", Text{})), (std::vector<Text>{"a,b"}));
}

TEST(SplitText, LinesEndingInCrlf) {
  EXPECT_EQ(Items(SplitText("a\r\nb\r\n", "\r\n")), (std::vector<Text>{"a", "b"}));
  EXPECT_EQ(Items(SplitText("\r\nb", "\r\n")), (std::vector<Text>{"", "b"}));
}

TEST(SplitText, StopsAtTheCount) {
  EXPECT_EQ(Items(SplitText("a,b,c", ",", 2)), (std::vector<Text>{"a", "b"}));
  EXPECT_EQ(Items(SplitText("a,b", ",", 2)), (std::vector<Text>{"a", "b"}));
  EXPECT_EQ(Items(SplitText(",,,", ",", 2)), (std::vector<Text>{"", ""}));
  EXPECT_EQ(Items(SplitText("a,b", ",", 0)), (std::vector<Text>{}));
  EXPECT_EQ(Items(SplitText("a,b", ",", -3)), (std::vector<Text>{}));
}

TEST(SplitText, SeparatorInsideAPairIsNoSeparator) {
  EXPECT_EQ(Items(SplitText("\xB0\x5Cx\\y", "\\")), (std::vector<Text>{"\xB0\x5Cx", "y"}));
  // A separator that ends in a lead byte never takes the first half of a pair.
  EXPECT_EQ(Items(SplitText("a\x81,b", "\x81")), (std::vector<Text>{"a\x81,b"}));
  EXPECT_EQ(Items(SplitText("a\x81\x81\x81", "\x81")), (std::vector<Text>{"a\x81\x81"}));
}

TEST(SplitBytes, SameRulesOnBytesWithZeroAsDefault) {
  Bytes data{'a', 0, 0, 'b', 0};
  auto parts = SplitBytes(data);
  ASSERT_EQ(parts.Count(), 3);
  EXPECT_EQ(parts[1], (Bytes{'a'}));
  EXPECT_EQ(parts[2], Bytes{});
  EXPECT_EQ(parts[3], (Bytes{'b'}));
  // Bytes have no characters: a separator may start on any byte.
  auto pairs = SplitBytes(Bytes{0xB0, 0x5C, 'x'}, Bytes{0x5C});
  ASSERT_EQ(pairs.Count(), 2);
  EXPECT_EQ(pairs[1], (Bytes{0xB0}));
  EXPECT_EQ(SplitBytes(data, Bytes{0}, 1).Count(), 1);
}

}  // namespace
}  // namespace kesto
