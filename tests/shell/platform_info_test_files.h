// Platform information files made byte by byte for the tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>

#include "net/des_cipher.h"
#include "shell/platform_info_file.h"

namespace kesto::shell::test {

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes joined;
  for (const Bytes& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

// Flag "1", the separator and the payload text enciphered under `key` (the platform's own key
// when none is given).
inline Bytes EncipheredPlatformFile(const Text& payload, std::optional<Text> key = {}) {
  DesCipher cipher;
  const Text payloadKey = key ? *key : PlatformPayloadKey(ToBytes("1"));
  return Join(
      {ToBytes(Text("1") + kPlatformFileSeparator), cipher.Encrypt(ToBytes(payload), payloadKey)});
}

inline void WriteNative(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A platform file naming `serviceNumber`, with fixed values in the other fields.
inline Bytes FileNamed(const Text& serviceNumber) {
  return EncipheredPlatformFile(serviceNumber + "|~|公司|~|web|~|pay|~|ad|~|spare");
}

}  // namespace kesto::shell::test
