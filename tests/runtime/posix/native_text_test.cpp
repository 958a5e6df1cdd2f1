#include "runtime/posix/native_text.h"

#include <gtest/gtest.h>

namespace kesto::posix {
namespace {

TEST(NativeText, GbkAndUtf8RoundTrip) {
  Text gbk = "重复运行啦 ok";
  EXPECT_EQ(GbkToUtf8(gbk), "\xE9\x87\x8D\xE5\xA4\x8D\xE8\xBF\x90\xE8\xA1\x8C\xE5\x95\xA6 ok");
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
  EXPECT_EQ(GbkToUtf8Exact(gbk), GbkToUtf8(gbk));
}

TEST(NativeText, LossyConversionsKeepWhatFollowsABadSequence) {
  // A stray Latin-1 byte and a character GBK lacks (an emoji) each become one "?".
  EXPECT_EQ(Utf8ToGbk("caf\xE9-x\xF0\x9F\x98\x80y"), "caf?-x?y");
  EXPECT_EQ(Utf8ToGbkExact("caf\xE9"), std::nullopt);
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

}  // namespace
}  // namespace kesto::posix
