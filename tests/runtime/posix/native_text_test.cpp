#include "runtime/posix/native_text.h"

#include <gtest/gtest.h>

#include "runtime/gb18030_four_byte.h"
#include "tests/runtime/names_in_many_scripts.h"

namespace kesto::posix {
namespace {

TEST(NativeText, GbkAndUtf8RoundTrip) {
  Text gbk = "重复运行啦 ok";
  EXPECT_EQ(GbkToUtf8(gbk), "\xE9\x87\x8D\xE5\xA4\x8D\xE8\xBF\x90\xE8\xA1\x8C\xE5\x95\xA6 ok");
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
  EXPECT_EQ(GbkToUtf8Exact(gbk), GbkToUtf8(gbk));
}

TEST(NativeText, LossyConversionsKeepWhatFollowsABadSequence) {
  // A stray Latin-1 byte becomes one "?"; a character GBK lacks (an emoji) its four bytes.
  EXPECT_EQ(Utf8ToGbk("caf\xE9-x\xF0\x9F\x98\x80y"), "caf?-x\x94\x39\xFC\x36y");
  EXPECT_EQ(Utf8ToGbkExact("caf\xE9"), std::nullopt);
  // The files the tools share keep to GBK: "?" for what it lacks, and no exact form.
  EXPECT_EQ(Utf8ToCodePage936("x\xF0\x9F\x98\x80\xE4\xB8\xAD"), "x?\xD6\xD0");
  EXPECT_EQ(Utf8ToCodePage936Exact("\xC3\xB8"), std::nullopt);
  // A bad four-byte sequence is dropped whole, so the digits in it do not come out as digits.
  EXPECT_EQ(GbkToUtf8("a\xFE\x39\xFE\x39"
                      "b"),
            "a\xEF\xBF\xBD"
            "b");
  // A lead byte without a valid second byte becomes U+FFFD; the ASCII after it stays.
  EXPECT_EQ(GbkToUtf8("a\x81 bc"), "a\xEF\xBF\xBD bc");
  EXPECT_EQ(GbkToUtf8("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(GbkToUtf8Exact("a\x81"), std::nullopt);
}

TEST(NativeText, PathsSwapSeparatorsOutsidePairs) {
  EXPECT_EQ(ToNativePath("\\home\\u\\kesto"), "/home/u/kesto");
  EXPECT_EQ(FromNativePath("/home/u/kesto"), "\\home\\u\\kesto");
  // B0 5C is one character whose second byte is "\".
  Text path = "\\d\\\xB0\x5C";
  EXPECT_EQ(FromNativePath(*ToNativePath(path)), path);
  EXPECT_EQ(ToNativePath(Text("a\0b", 3)), std::nullopt);
  EXPECT_EQ(ToNativePath("\\bad\x81"), std::nullopt);
}

// Every name in any script comes in and goes back out unchanged, and what it becomes inside
// holds no separator of its own.
TEST(NativeText, PathsInAnyScriptRoundTrip) {
  for (std::u8string_view script : testing::kNamesInManyScripts) {
    const std::string name(script.begin(), script.end());
    const Text inside = FromNativePath("/home/" + name + "/k");
    EXPECT_EQ(inside.find('?'), Text::npos) << name;
    EXPECT_EQ(SplitText(inside, "\\").Count(), 4) << name;
    EXPECT_EQ(ToNativePath(inside), "/home/" + name + "/k");
  }
}

// The four-byte rule the Windows back end uses against the system's own GB18030 converter, for
// every character of the Basic Multilingual Plane and a spread of those above it.
TEST(NativeText, FourByteSequencesAgreeWithTheSystemsConverter) {
  int fourByte = 0;
  for (char32_t c = 0x80; c <= 0x10FFFF; c += c < 0x10000 ? 1 : 97) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string utf8;
    if (c < 0x800) {
      utf8 = {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      utf8 = {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    } else {
      utf8 = {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
              char(0x80 | (c & 0x3F))};
    }
    // A few private-use characters whose sequences GB18030 gave to others have none.
    const std::optional<Text> system = Utf8ToGbkExact(utf8);
    if (!system) continue;
    if (system->size() != 4) {
      EXPECT_EQ(gb18030::EncodeFourBytes(c), std::nullopt) << std::hex << static_cast<unsigned>(c);
      continue;
    }
    ++fourByte;
    EXPECT_EQ(gb18030::EncodeFourBytes(c), *system) << std::hex << static_cast<unsigned>(c);
    EXPECT_EQ(gb18030::DecodeFourBytes(*system), c) << std::hex << static_cast<unsigned>(c);
  }
  EXPECT_GT(fourByte, 39000);
  EXPECT_EQ(gb18030::DecodeFourBytes("\x84\x31\xA5\x30"), std::nullopt);  // past U+FFFF
  EXPECT_EQ(gb18030::DecodeFourBytes("\xE3\x32\x9A\x36"), std::nullopt);  // past U+10FFFF
}

}  // namespace
}  // namespace kesto::posix
