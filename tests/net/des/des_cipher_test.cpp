#include "net/des_cipher.h"

#include <gtest/gtest.h>
#include <openssl/des.h>

#include <cstring>
#include <random>

namespace kesto {
namespace {

Bytes Hex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

// Whole blocks through OpenSSL's DES-ECB under 8 raw key bytes.
Bytes OpensslEcb(const Bytes& data, const Bytes& key, bool encrypt) {
  DES_cblock keyBlock, in, result;
  std::memcpy(keyBlock, key.data(), 8);
  DES_key_schedule schedule;
  DES_set_key_unchecked(&keyBlock, &schedule);
  Bytes out(data.size() / 8 * 8);
  for (std::size_t i = 0; i < out.size(); i += 8) {
    std::memcpy(in, data.data() + i, 8);
    DES_ecb_encrypt(&in, &result, &schedule, encrypt ? DES_ENCRYPT : DES_DECRYPT);
    std::memcpy(out.data() + i, result, 8);
  }
  return out;
}

TEST(DesCipherTest, KnownAnswerVectors) {
  const char* vectors[][3] = {
      {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
      {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
      {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
      {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
  };
  for (const auto& [key, plain, cipher] : vectors) {
    DesCipher des;
    des.MakeSubkeys(Hex(key));
    EXPECT_EQ(des.ProcessBlocks(Hex(plain), false), Hex(cipher)) << key;
    EXPECT_EQ(des.ProcessBlocks(Hex(cipher), true), Hex(plain)) << key;
  }
}

TEST(DesCipherTest, AgreesWithOpensslForRandomKeysAndLengths) {
  std::mt19937 rng(20240517);
  DesCipher cipher;  // one object for all: every call sets its subkeys anew
  for (int trial = 0; trial < 400; ++trial) {
    Text key(trial % 13, '\0');
    for (char& c : key) c = static_cast<char>(1 + rng() % 255);
    Bytes plain(trial % 41);
    for (auto& b : plain) b = static_cast<std::uint8_t>(rng());
    Bytes padded = plain;
    padded.insert(padded.end(), 8 - plain.size() % 8,
                  static_cast<std::uint8_t>(8 - plain.size() % 8));

    const Bytes encrypted = cipher.Encrypt(plain, key);
    ASSERT_EQ(encrypted, OpensslEcb(padded, cipher.PrepareKey(key), true)) << trial;
    ASSERT_EQ(cipher.Decrypt(encrypted, key), plain) << trial;

    // Under another key: OpenSSL's garbage, cut by its last byte read as a signed number.
    const Bytes garbage = OpensslEcb(encrypted, cipher.PrepareKey("w" + key), false);
    ASSERT_EQ(cipher.Decrypt(encrypted, "w" + key), cipher.Unpad(garbage)) << trial;
  }
}

TEST(DesCipherTest, PaddingAndKeyPreparation) {
  DesCipher cipher;
  EXPECT_EQ(cipher.Pad({}), Bytes(8, 8));
  EXPECT_EQ(cipher.Pad({1, 2, 3, 4, 5, 6, 7}), (Bytes{1, 2, 3, 4, 5, 6, 7, 1}));
  EXPECT_EQ(cipher.Encrypt(Bytes(8, 0xAA), "k").size(), 16u);
  EXPECT_EQ(cipher.Decrypt(cipher.Encrypt({}, "k"), "k"), Bytes{});

  EXPECT_EQ(cipher.PrepareKey("abc"), (Bytes{'a', 'b', 'c', 0, 0, 0, 0, 0}));
  EXPECT_EQ(cipher.PrepareKey("abcdefghijk"), (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}));
  // A text ends at its first zero byte.
  EXPECT_EQ(cipher.PrepareKey(Text("ab\0cd", 5)), (Bytes{'a', 'b', 0, 0, 0, 0, 0, 0}));

  // A short key given straight to the schedule counts as zero-filled.
  cipher.MakeSubkeys({'a', 'b'});
  const Bytes shortKey = cipher.ProcessBlocks(Bytes(8, 1), false);
  cipher.MakeSubkeys({'a', 'b', 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(cipher.ProcessBlocks(Bytes(8, 1), false), shortKey);
}

TEST(DesCipherTest, UnpadReadsTheLastByteAsSigned) {
  DesCipher cipher;
  EXPECT_EQ(cipher.Unpad({}), Bytes{});
  // The other padding bytes are not compared.
  EXPECT_EQ(cipher.Unpad({1, 9, 9, 3}), (Bytes{1}));
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 0}), (Bytes{1, 2, 3, 0}));
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 0x80}), (Bytes{1, 2, 3, 0x80}));
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 4}), Bytes{});
  EXPECT_EQ(cipher.Unpad({1, 2, 3, 0x7F}), Bytes{});
}

TEST(DesCipherTest, DecryptIgnoresBytesAfterTheLastWholeBlock) {
  DesCipher cipher;
  Bytes twelve = cipher.Encrypt({'a', 'b', 'c'}, "key");
  twelve.insert(twelve.end(), {1, 2, 3, 4});
  EXPECT_EQ(cipher.Decrypt(twelve, "key"), (Bytes{'a', 'b', 'c'}));
  EXPECT_EQ(cipher.Decrypt({1, 2, 3, 4, 5, 6, 7}, "key"), Bytes{});
}

}  // namespace
}  // namespace kesto
