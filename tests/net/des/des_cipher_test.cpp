#include "net/des_cipher.h"

#include <gtest/gtest.h>
#include <openssl/des.h>

#include <cstring>
#include <random>

namespace kesto {
namespace {

Bytes Hex(const char* hex) {
  Bytes out;
  for (std::size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
  }
  return out;
}

// DES-ECB over whole blocks with OpenSSL, under 8 raw key bytes.
Bytes OpensslEcb(const Bytes& data, const Bytes& key, bool encrypt) {
  DES_cblock keyBlock;
  std::memcpy(keyBlock, key.data(), 8);
  DES_key_schedule schedule;
  DES_set_key_unchecked(&keyBlock, &schedule);
  Bytes out(data.size() / 8 * 8);
  for (std::size_t i = 0; i < out.size(); i += 8) {
    DES_cblock in;
    DES_cblock result;
    std::memcpy(in, data.data() + i, 8);
    DES_ecb_encrypt(&in, &result, &schedule, encrypt ? DES_ENCRYPT : DES_DECRYPT);
    std::memcpy(out.data() + i, result, 8);
  }
  return out;
}

Bytes PkcsPadded(Bytes data) {
  const std::size_t n = 8 - data.size() % 8;
  data.insert(data.end(), n, static_cast<std::uint8_t>(n));
  return data;
}

// The raw block transform under a raw key, without padding.
Bytes RawBlocks(const Bytes& key, const Bytes& data, bool decipher) {
  DesCipher cipher;
  cipher.MakeSubkeys(key);
  return cipher.ProcessBlocks(data, decipher);
}

TEST(DesCipherTest, KnownAnswerVectors) {
  struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
  };
  const Vector vectors[] = {
      {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
      {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
      {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
      {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
      {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
      {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
  };
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.key);
    EXPECT_EQ(RawBlocks(Hex(v.key), Hex(v.plain), false), Hex(v.cipher));
    EXPECT_EQ(RawBlocks(Hex(v.key), Hex(v.cipher), true), Hex(v.plain));
  }
}

TEST(DesCipherTest, ParityBitsOfTheKeyPlayNoPart) {
  const Bytes plain = Hex("0123456789ABCDEF");
  EXPECT_EQ(RawBlocks(Hex("133457799BBCDFF1"), plain, false),
            RawBlocks(Hex("123456789ABCDEF0"), plain, false));
}

TEST(DesCipherTest, AgreesWithOpensslForRandomKeysAndLengths) {
  std::mt19937 rng(20240517);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> nonZeroByte(1, 255);
  DesCipher cipher;  // one object reused: every call sets its subkeys anew
  for (int trial = 0; trial < 400; ++trial) {
    Text key(trial % 13, '\0');
    for (char& c : key) c = static_cast<char>(nonZeroByte(rng));
    Bytes plain(trial % 41);
    for (auto& b : plain) b = static_cast<std::uint8_t>(byte(rng));
    SCOPED_TRACE(trial);

    const Bytes prepared = cipher.PrepareKey(key);
    const Bytes expected = OpensslEcb(PkcsPadded(plain), prepared, true);
    const Bytes encrypted = cipher.Encrypt(plain, key);
    ASSERT_EQ(encrypted, expected);
    ASSERT_EQ(cipher.Decrypt(encrypted, key), plain);
  }
}

TEST(DesCipherTest, PadAddsOneToEightBytes) {
  DesCipher cipher;
  EXPECT_EQ(cipher.Pad({}), Bytes(8, 8));
  EXPECT_EQ(cipher.Pad({1, 2, 3, 4, 5, 6, 7}), (Bytes{1, 2, 3, 4, 5, 6, 7, 1}));
  EXPECT_EQ(cipher.Pad(Bytes(8, 0xAA)).size(), 16u);
  EXPECT_EQ(cipher.Encrypt(Bytes(8, 0xAA), "k").size(), 16u);
  EXPECT_EQ(cipher.Encrypt({}, "k").size(), 8u);
  EXPECT_EQ(cipher.Decrypt(cipher.Encrypt({}, "k"), "k"), Bytes{});
}

TEST(DesCipherTest, PrepareKeyCutsOrFillsToEightBytes) {
  DesCipher cipher;
  EXPECT_EQ(cipher.PrepareKey("abc"), (Bytes{'a', 'b', 'c', 0, 0, 0, 0, 0}));
  EXPECT_EQ(cipher.PrepareKey("abcdefghijk"), (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}));
  EXPECT_EQ(cipher.PrepareKey(""), Bytes(8, 0));
  // A text ends at its first zero byte.
  EXPECT_EQ(cipher.PrepareKey(Text("ab\0cd", 5)), (Bytes{'a', 'b', 0, 0, 0, 0, 0, 0}));

  const Bytes plain = {'x', 'y'};
  EXPECT_EQ(cipher.Encrypt(plain, "abc"), cipher.Encrypt(plain, Text("abc\0\0\0\0\0", 8)));
  EXPECT_EQ(cipher.Encrypt(plain, "abcdefgh"), cipher.Encrypt(plain, "abcdefghXYZ"));
  EXPECT_NE(cipher.Encrypt(plain, "abcdefgh"), cipher.Encrypt(plain, "abcdefgX"));
}

TEST(DesCipherTest, UnpadReadsTheLastByteAsSigned) {
  DesCipher cipher;
  EXPECT_EQ(cipher.Unpad({}), Bytes{});
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 2}), (Bytes{1, 2}));
  // The other padding bytes are not compared.
  EXPECT_EQ(cipher.Unpad({1, 9, 9, 3}), (Bytes{1}));
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 0}), (Bytes{1, 2, 3, 0}));
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 0x80}), (Bytes{1, 2, 3, 0x80}));
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 0xFF}), (Bytes{1, 2, 3, 0xFF}));
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 4}), Bytes{});
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 0x7F}), Bytes{});
}

TEST(DesCipherTest, DecryptIgnoresBytesAfterTheLastWholeBlock) {
  DesCipher cipher;
  const Bytes one = cipher.Encrypt({'a', 'b', 'c'}, "key");
  Bytes longer = one;
  longer.insert(longer.end(), {1, 2, 3, 4});
  EXPECT_EQ(cipher.Decrypt(longer, "key"), (Bytes{'a', 'b', 'c'}));
  EXPECT_EQ(cipher.Decrypt({1, 2, 3, 4, 5, 6, 7}, "key"), Bytes{});
  EXPECT_EQ(cipher.ProcessBlocks({1, 2, 3}, true), Bytes{});
}

TEST(DesCipherTest, WrongKeyGivesGarbageCutByItsLastByte) {
  std::mt19937 rng(7);
  DesCipher cipher;
  for (int trial = 0; trial < 200; ++trial) {
    const Text key = "good" + std::to_string(trial);
    const Text wrong = "bad" + std::to_string(trial);
    const Bytes encrypted = cipher.Encrypt(Bytes(trial % 30, 'q'), key);
    const Bytes raw = OpensslEcb(encrypted, cipher.PrepareKey(wrong), false);
    const int v = static_cast<std::int8_t>(raw.back());
    std::size_t expectedLength = raw.size();
    if (v > 0) expectedLength = static_cast<std::size_t>(v) > raw.size() ? 0 : raw.size() - v;
    const Bytes plain = cipher.Decrypt(encrypted, wrong);
    ASSERT_EQ(plain.size(), expectedLength) << trial;
    ASSERT_TRUE(std::equal(plain.begin(), plain.end(), raw.begin()));
  }
}

TEST(DesCipherTest, RoundsInReverseUndoTheRounds) {
  DesCipher cipher;
  cipher.MakeSubkeys(Hex("0123456789ABCDEF"));
  DesCipher::BlockBits bits{};
  for (int i = 0; i < 64; ++i) bits[i] = (i * 7 + i / 5) % 2;
  const DesCipher::BlockBits original = bits;
  cipher.EncryptRounds(bits);
  EXPECT_NE(bits, original);
  cipher.DecryptRounds(bits);
  EXPECT_EQ(bits, original);

  // A round changes only the left half, then swaps when asked.
  DesCipher::BlockBits unswapped = original;
  DesCipher::BlockBits swapped = original;
  cipher.Round(unswapped, 3, false);
  cipher.Round(swapped, 3, true);
  EXPECT_TRUE(std::equal(original.begin() + 32, original.end(), unswapped.begin() + 32));
  EXPECT_TRUE(std::equal(unswapped.begin(), unswapped.begin() + 32, swapped.begin() + 32));
  EXPECT_TRUE(std::equal(original.begin() + 32, original.end(), swapped.begin()));
}

TEST(DesCipherTest, ACopyKeepsTheSubkeysOfTheLastKey) {
  DesCipher cipher;
  const Bytes encrypted = cipher.Encrypt({'p', 'q'}, "first");
  const DesCipher copy = cipher;
  cipher.Encrypt({}, "second");
  EXPECT_EQ(copy.ProcessBlocks(encrypted, true), cipher.Pad({'p', 'q'}));
  EXPECT_NE(cipher.ProcessBlocks(encrypted, true), cipher.Pad({'p', 'q'}));
}

}  // namespace
}  // namespace kesto
