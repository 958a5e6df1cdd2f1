#include "shell/platform_info_file.h"

#include <gtest/gtest.h>

#include "tests/shell/platform_info_test_files.h"

namespace kesto::shell {
namespace {

using test::EncipheredPlatformFile;
using test::Join;

Array<Text> Fields(std::initializer_list<Text> texts) {
  return Array<Text>(texts);
}

TEST(PlatformFileTest, ReadsSixFieldsAndIgnoresTheRest) {
  PlatformFile six = ReadPlatformFile(EncipheredPlatformFile(
      "800|~|星辰软件|~|www.x.cn|~|http://pay.x.cn|~|http://x.cn/ad/|~|spare"));
  ASSERT_EQ(six.state, PlatformFileState::kFields);
  EXPECT_EQ(six.fields,
            Fields({"800", "星辰软件", "www.x.cn", "http://pay.x.cn", "http://x.cn/ad/", "spare"}));

  PlatformFile eight = ReadPlatformFile(EncipheredPlatformFile("1|~||~|3|~||~|5|~|6|~|7|~|8"));
  ASSERT_EQ(eight.state, PlatformFileState::kFields);
  EXPECT_EQ(eight.fields, Fields({"1", "", "3", "", "5", "6"}));
}

TEST(PlatformFileTest, FewerThanSixFieldsAreRefused) {
  EXPECT_EQ(ReadPlatformFile(EncipheredPlatformFile("1|~|2|~|3|~|4|~|5")).state,
            PlatformFileState::kTooFewFields);
  // An empty sixth field leaves a trailing separator, which adds no field.
  EXPECT_EQ(ReadPlatformFile(EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|")).state,
            PlatformFileState::kTooFewFields);
  EXPECT_EQ(ReadPlatformFile(EncipheredPlatformFile("")).state, PlatformFileState::kTooFewFields);
  // Another key deciphers to garbage without the field separator.
  EXPECT_EQ(ReadPlatformFile(EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|6", "otherkey")).state,
            PlatformFileState::kTooFewFields);
}

TEST(PlatformFileTest, OnlyExactlyTwoPiecesAreRead) {
  const Bytes good = EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|6");
  const Bytes separator = ToBytes(kPlatformFileSeparator);
  EXPECT_EQ(ReadPlatformFile({}).state, PlatformFileState::kNotTwoPieces);
  EXPECT_EQ(ReadPlatformFile(ToBytes("1")).state, PlatformFileState::kNotTwoPieces);
  EXPECT_EQ(ReadPlatformFile(ToBytes("1var?don")).state, PlatformFileState::kNotTwoPieces);
  // A ciphertext holding the separator bytes splits into three pieces.
  Bytes three = good;
  three.insert(three.begin() + 12, separator.begin(), separator.end());
  EXPECT_EQ(ReadPlatformFile(three).state, PlatformFileState::kNotTwoPieces);
  // A trailing separator adds no piece; the payload is then read as it stands.
  EXPECT_EQ(ReadPlatformFile(Join({good, separator})).state, PlatformFileState::kFields);
}

TEST(PlatformFileTest, AFlagOtherThanOneLeavesThePayloadUnread) {
  const Bytes payload = {0x10, 0x20, 0x30};
  for (const char* flag : {"0", "2", "11", " 1", ""}) {
    SCOPED_TRACE(flag);
    const PlatformFile file =
        ReadPlatformFile(Join({ToBytes(Text(flag) + kPlatformFileSeparator), payload}));
    EXPECT_EQ(file.state, PlatformFileState::kNotEnciphered);
    EXPECT_EQ(file.fields.Count(), 0);
  }
}

TEST(PlatformFileTest, TheFlagIsReadUpToItsFirstZeroByteButKeysWithAllItsBytes) {
  const Bytes flag = {'1', 0, 'z'};
  DesCipher cipher;
  const Bytes file =
      Join({flag, ToBytes(kPlatformFileSeparator),
            cipher.Encrypt(ToBytes("a|~|b|~|c|~|d|~|e|~|f"), PlatformPayloadKey(flag))});
  const PlatformFile read = ReadPlatformFile(file);
  ASSERT_EQ(read.state, PlatformFileState::kFields);
  EXPECT_EQ(read.fields[6], "f");
}

TEST(PlatformFileTest, PayloadsBeyondTheLimitAreRefusedUnread) {
  // A payload whose ciphertext is exactly at the limit is still read.
  const Text spare(kMaxPlatformPayloadBytes - 1 - TextLength("1|~|2|~|3|~|4|~|5|~|"), 's');
  const Bytes atLimit = EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|" + spare);
  ASSERT_EQ(atLimit.size(), 8u + kMaxPlatformPayloadBytes);
  const PlatformFile read = ReadPlatformFile(atLimit);
  ASSERT_EQ(read.state, PlatformFileState::kFields);
  EXPECT_EQ(read.fields[6], spare);

  const Bytes beyond = EncipheredPlatformFile("1|~|2|~|3|~|4|~|5|~|" + spare + "s");
  EXPECT_EQ(ReadPlatformFile(beyond).state, PlatformFileState::kPayloadTooLarge);
}

// Files already made for the platform must keep loading: the key material is part of the format.
TEST(PlatformFileTest, AFileMadeEarlierStillReads) {
  const Bytes made = {0x31, 0x76, 0x61, 0x72, 0x3f, 0x64, 0x6f, 0x6e, 0x0e, 0x97, 0xb7, 0x67, 0x84,
                      0x74, 0x63, 0xcc, 0x6b, 0x16, 0x90, 0x0d, 0xe7, 0x22, 0x7d, 0xa1, 0x4b, 0xec,
                      0xb0, 0x60, 0xc0, 0x90, 0xb3, 0xf8, 0x86, 0x2d, 0xc9, 0xbf, 0x86, 0x90, 0x83,
                      0xde, 0x92, 0xfd, 0x75, 0xd9, 0xcd, 0x8f, 0xb5, 0xae, 0x47, 0xb9, 0x19, 0xee,
                      0xdd, 0x34, 0x56, 0x40, 0x76, 0xa7, 0x15, 0x04, 0x84, 0x71, 0xde, 0xef, 0xe8,
                      0x18, 0xc6, 0x62, 0xc9, 0x34, 0xcf, 0xac, 0x15, 0xdf, 0x42, 0x54, 0xb5, 0x36,
                      0x59, 0xee, 0xe2, 0xd1, 0x47, 0xeb, 0xb2, 0xe4, 0xc4, 0xba, 0x0b, 0x42, 0x0e,
                      0x9d, 0x7e, 0x69, 0xbe, 0x8f, 0x4f, 0x73, 0xfc, 0x2c, 0x1a, 0x64, 0xcc, 0xd0};
  const PlatformFile read = ReadPlatformFile(made);
  ASSERT_EQ(read.state, PlatformFileState::kFields);
  EXPECT_EQ(read.fields, Fields({"12345", "Pelun软件公司", "example.com", "http://pay.example.com",
                                 "http://example.com/ad/", ""}));
}

}  // namespace
}  // namespace kesto::shell
