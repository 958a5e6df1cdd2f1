#include "net/des_cipher.h"

#include <algorithm>
#include <cstdint>

namespace kesto {
namespace {

// The tables as printed in FIPS 46-3.
constexpr int kPc1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                          10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                          63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                          14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr int kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr int kPc2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                          26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                          51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr int kIp[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                         62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                         57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                         61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr int kFp[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                         38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                         36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                         34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

constexpr int kE[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                        12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                        22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

constexpr int kS[512] = {
    // S1
    14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7,  //
    0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8,  //
    4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0,  //
    15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13,  //
    // S2
    15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10,  //
    3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5,  //
    0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15,  //
    13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9,  //
    // S3
    10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8,  //
    13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1,  //
    13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7,  //
    1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12,  //
    // S4
    7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15,  //
    13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9,  //
    10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4,  //
    3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14,  //
    // S5
    2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9,  //
    14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6,  //
    4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14,  //
    11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3,  //
    // S6
    12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11,  //
    10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8,  //
    9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6,  //
    4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13,  //
    // S7
    4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1,  //
    13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6,  //
    1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2,  //
    6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12,  //
    // S8
    13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7,  //
    1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2,  //
    7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8,  //
    2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11,  //
};

constexpr int kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                        2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

template <std::size_t N>
void Fill(std::array<int, N>& field, const int (&table)[N]) {
  std::copy(std::begin(table), std::end(table), field.begin());
}

}  // namespace

DesCipher::DesCipher() {
  FillTables();
}

void DesCipher::FillTables() {
  Fill(keyPermutation1_, kPc1);
  Fill(shiftSchedule_, kShifts);
  Fill(keyPermutation2_, kPc2);
  Fill(initialPermutation_, kIp);
  Fill(finalPermutation_, kFp);
  Fill(expansion_, kE);
  Fill(substitutionBoxes_, kS);
  Fill(permutation_, kP);
}

Bytes DesCipher::Encrypt(const Bytes& data, const Text& key) {
  MakeSubkeys(PrepareKey(key));
  return ProcessBlocks(Pad(data), false);
}

Bytes DesCipher::Decrypt(const Bytes& data, const Text& key) {
  MakeSubkeys(PrepareKey(key));
  return Unpad(ProcessBlocks(data, true));
}

Bytes DesCipher::Pad(const Bytes& data) const {
  const std::size_t n = 8 - data.size() % 8;
  Bytes padded(data);
  padded.insert(padded.end(), n, static_cast<std::uint8_t>(n));
  return padded;
}

Bytes DesCipher::PrepareKey(const Text& key) const {
  // A text ends at its first zero byte.
  const Text bytes = key.substr(0, key.find('\0'));
  Bytes prepared(8, 0);
  std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), 8), prepared.begin());
  return prepared;
}

Bytes DesCipher::Unpad(const Bytes& data) const {
  if (data.empty()) return data;
  const int v = static_cast<std::int8_t>(data.back());
  if (v <= 0) return data;
  if (static_cast<std::size_t>(v) > data.size()) return {};
  return Bytes(data.begin(), data.end() - v);
}

void DesCipher::MakeSubkeys(const Bytes& key) {
  // C is entries 0..27 and D entries 28..55 of the permuted key.
  std::array<int, 56> permuted{};
  for (int i = 0; i < 56; ++i) {
    const int bit = keyPermutation1_[i] - 1;
    // A short key counts as filled with zero bytes.
    const std::size_t byte = static_cast<std::size_t>(bit / 8);
    permuted[i] = byte < key.size() ? (key[byte] >> (7 - bit % 8)) & 1 : 0;
  }
  int rotation = 0;
  for (int round = 0; round < 16; ++round) {
    rotation += shiftSchedule_[round];
    for (int i = 0; i < 48; ++i) {
      const int position = keyPermutation2_[i] - 1;
      const int half = position < 28 ? 0 : 28;
      subkeys_[round * 48 + i] = permuted[half + (position - half + rotation) % 28];
    }
  }
}

Bytes DesCipher::ProcessBlocks(const Bytes& data, bool decipher) const {
  const std::size_t blocks = data.size() / 8;
  Bytes out(blocks * 8);
  BlockBits input{};
  BlockBits bits{};
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::uint8_t* block = data.data() + b * 8;
    for (int i = 0; i < 64; ++i) input[i] = (block[i / 8] >> (7 - i % 8)) & 1;
    for (int i = 0; i < 64; ++i) bits[i] = input[initialPermutation_[i] - 1];
    if (decipher) {
      DecryptRounds(bits);
    } else {
      EncryptRounds(bits);
    }
    std::uint8_t* result = out.data() + b * 8;
    for (int i = 0; i < 8; ++i) {
      int byte = 0;
      for (int j = 0; j < 8; ++j) byte = (byte << 1) | bits[finalPermutation_[i * 8 + j] - 1];
      result[i] = static_cast<std::uint8_t>(byte);
    }
  }
  return out;
}

void DesCipher::EncryptRounds(BlockBits& bits) const {
  for (int round = 1; round <= 16; ++round) Round(bits, round, round < 16);
}

void DesCipher::DecryptRounds(BlockBits& bits) const {
  for (int round = 16; round >= 1; --round) Round(bits, round, round > 1);
}

void DesCipher::Round(BlockBits& bits, int round, bool swap) const {
  const int* subkey = subkeys_.data() + (round - 1) * 48;
  const int* right = bits.data() + 32;
  std::array<int, 32> output{};
  for (int box = 0; box < 8; ++box) {
    int group = 0;
    for (int j = 0; j < 6; ++j) {
      const int k = box * 6 + j;
      group = (group << 1) | (right[expansion_[k] - 1] ^ subkey[k]);
    }
    const int row = ((group >> 4) & 2) | (group & 1);
    const int column = (group >> 1) & 15;
    const int value = substitutionBoxes_[box * 64 + row * 16 + column];
    for (int j = 0; j < 4; ++j) output[box * 4 + j] = (value >> (3 - j)) & 1;
  }
  for (int i = 0; i < 32; ++i) bits[i] ^= output[permutation_[i] - 1];
  if (swap) std::swap_ranges(bits.begin(), bits.begin() + 32, bits.begin() + 32);
}

}  // namespace kesto
