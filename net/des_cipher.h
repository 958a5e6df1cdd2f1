// DES in electronic-codebook mode with PKCS#5 padding, used for the platform information file.
// The standard's tables and the subkeys are kept as integer arrays with one bit (0 or 1) or one
// table entry per element; table entries are 1-based bit positions, bit 1 being the most
// significant bit of the first byte.
#pragma once

#include <array>

#include "runtime/core.h"

namespace kesto {

class DesCipher {
 public:
  // A block's 64 bits, one 0/1 value each.
  using BlockBits = std::array<int, 64>;

  // Creates the object and fills its tables.
  DesCipher();

  ~DesCipher() = default;
  DesCipher(const DesCipher& other) = default;
  DesCipher& operator=(const DesCipher& other) = default;

  // Pads, then enciphers every block under the prepared key; the result is a multiple of 8 long.
  Bytes Encrypt(const Bytes& data, const Text& key);
  // Deciphers every whole block under the prepared key, then removes the padding.
  Bytes Decrypt(const Bytes& data, const Text& key);
  // Appends n bytes of value n, n = 8 - (length mod 8).
  Bytes Pad(const Bytes& data) const;
  // The key text's bytes (up to its first zero byte), cut or zero-filled to 8.
  Bytes PrepareKey(const Text& key) const;
  // Drops as many trailing bytes as the last byte says, read as a signed 8-bit number.
  Bytes Unpad(const Bytes& data) const;
  // The key schedule: fills the subkeys from the 8 key bytes (missing ones count as zero).
  void MakeSubkeys(const Bytes& key);
  // Processes every whole 8-byte block; bytes after the last whole block are ignored.
  Bytes ProcessBlocks(const Bytes& data, bool decipher) const;
  // The sixteen rounds on the bits after the initial permutation, subkeys 1 to 16.
  void EncryptRounds(BlockBits& bits) const;
  // The sixteen rounds with the subkeys in reverse, 16 down to 1.
  void DecryptRounds(BlockBits& bits) const;
  // One round with subkey `round` (1..16); `swap` exchanges the halves afterwards.
  void Round(BlockBits& bits, int round, bool swap) const;

 private:
  void FillTables();

  std::array<int, 56> keyPermutation1_{};
  std::array<int, 16> shiftSchedule_{};
  std::array<int, 48> keyPermutation2_{};
  std::array<int, 64> initialPermutation_{};
  std::array<int, 64> finalPermutation_{};
  std::array<int, 48> expansion_{};
  std::array<int, 512> substitutionBoxes_{};
  std::array<int, 32> permutation_{};
  std::array<int, 768> subkeys_{};
};

}  // namespace kesto
