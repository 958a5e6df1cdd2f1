#include "shell/platform_info_file.h"

#include <gtest/gtest.h>

#include "tests/shell/platform_info_test_files.h"

namespace kesto::shell {
namespace {

using test::EncipheredPlatformFile;

PlatformFileState StateOf(const Bytes& bytes) {
  return ReadPlatformFile(bytes).state;
}

TEST(PlatformFileTest, ReadsTheFirstSixFields) {
  const PlatformFile eight = ReadPlatformFile(
      EncipheredPlatformFile("800|~|星辰|~||~|http://p|~|http://a/ad/|~|6|~|7|~|8"));
  ASSERT_EQ(eight.state, PlatformFileState::kFields);
  EXPECT_EQ(eight.fields, (Array<Text>{"800", "星辰", "", "http://p", "http://a/ad/", "6"}));
}

TEST(PlatformFileTest, FewerThanSixFieldsAreRefused) {
  EXPECT_EQ(StateOf(EncipheredPlatformFile("1|~|2|~|3|~|4|~|5")), PlatformFileState::kTooFewFields);
  // An empty sixth field leaves a trailing separator, which adds no field.
  EXPECT_EQ(StateOf(EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|")),
            PlatformFileState::kTooFewFields);
  // Another key deciphers to garbage without the field separator.
  EXPECT_EQ(StateOf(EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|6", "otherkey")),
            PlatformFileState::kTooFewFields);
}

TEST(PlatformFileTest, OnlyExactlyTwoPiecesAreRead) {
  const Bytes good = EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|6");
  const Bytes separator = ToBytes(kPlatformFileSeparator);
  EXPECT_EQ(StateOf({}), PlatformFileState::kNotTwoPieces);
  EXPECT_EQ(StateOf(ToBytes("1var?don")), PlatformFileState::kNotTwoPieces);
  // A ciphertext holding the separator bytes splits into three pieces.
  Bytes three = good;
  three.insert(three.begin() + 12, separator.begin(), separator.end());
  EXPECT_EQ(StateOf(three), PlatformFileState::kNotTwoPieces);
  // A trailing separator adds no piece.
  EXPECT_EQ(StateOf(test::Join({good, separator})), PlatformFileState::kFields);
}

TEST(PlatformFileTest, AFlagOtherThanOneLeavesThePayloadUnread) {
  for (const char* flag : {"0", "11", " 1", ""}) {
    EXPECT_EQ(StateOf(ToBytes(Text(flag) + "var?don12345678")), PlatformFileState::kNotEnciphered)
        << flag;
  }
}

TEST(PlatformFileTest, PayloadsBeyondTheLimitAreRefusedUnread) {
  // The ciphertext of 65535 payload bytes is exactly at the limit and still read.
  const Text spare(kMaxPlatformPayloadBytes - 1 - TextLength("1|~|2|~|3|~|4|~|5|~|"), 's');
  const PlatformFile atLimit =
      ReadPlatformFile(EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|" + spare));
  ASSERT_EQ(atLimit.state, PlatformFileState::kFields);
  EXPECT_EQ(atLimit.fields[6], spare);
  EXPECT_EQ(StateOf(EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|" + spare + "s")),
            PlatformFileState::kPayloadTooLarge);
}

// Files already made for the platform must keep loading: the key material is part of the format.
TEST(PlatformFileTest, AFileMadeEarlierStillReads) {
  const Bytes made = {0x31, 0x76, 0x61, 0x72, 0x3f, 0x64, 0x6f, 0x6e, 0x19, 0x18,
                      0x4c, 0xfd, 0x0b, 0x21, 0xa9, 0xca, 0x8b, 0xb5, 0xcf, 0xe2,
                      0xd6, 0x15, 0xea, 0xca, 0xfd, 0x1f, 0x00, 0x3f, 0x7e, 0x4b,
                      0x81, 0x94, 0xdc, 0x9a, 0xca, 0xee, 0x5d, 0xa0, 0x7b, 0x9f};
  const PlatformFile read = ReadPlatformFile(made);
  ASSERT_EQ(read.state, PlatformFileState::kFields);
  EXPECT_EQ(read.fields, (Array<Text>{"1", "软件", "3", "4", "5", "6"}));
}

}  // namespace
}  // namespace kesto::shell
