#include "tools/regtool/platform_file_writer.h"

#include "net/des_cipher.h"
#include "shell/platform_info_file.h"

namespace regtool {
namespace {

using kesto::Array;
using kesto::Bytes;
using kesto::Text;

// A ciphertext that happens to hold the separator bytes, or an empty sixth field that would end
// the payload in a separator, cannot be read back. A seventh field, which the platform ignores,
// changes both; a few tries find a ciphertext that reads back.
constexpr int kTries = 64;

Bytes Assemble(const Text& payload) {
  const Bytes flag = kesto::ToBytes("1");
  kesto::DesCipher cipher;
  Bytes file = flag;
  const Bytes separator = kesto::ToBytes(kesto::shell::kPlatformFileSeparator);
  file.insert(file.end(), separator.begin(), separator.end());
  const Bytes ciphertext =
      cipher.Encrypt(kesto::ToBytes(payload), kesto::shell::PlatformPayloadKey(flag));
  file.insert(file.end(), ciphertext.begin(), ciphertext.end());
  return file;
}

}  // namespace

std::optional<Bytes> MakePlatformFile(const Array<Text>& fields, Text& problem) {
  if (fields.Count() != kesto::shell::kPlatformFieldCount) {
    problem = "six values are needed";
    return std::nullopt;
  }
  Text payload;
  for (int i = 1; i <= fields.Count(); ++i) {
    if (fields[i].find('\0') != Text::npos ||
        kesto::FindText(fields[i], kesto::shell::kPlatformFieldSeparator) != -1) {
      problem = "value " + kesto::ToText(i) + " holds a zero byte or the field separator \"" +
                kesto::shell::kPlatformFieldSeparator + "\"";
      return std::nullopt;
    }
    payload += (i > 1 ? kesto::shell::kPlatformFieldSeparator : "") + fields[i];
  }
  for (int attempt = 0; attempt < kTries; ++attempt) {
    const bool needsSeventh = attempt > 0 || fields[kesto::shell::kPlatformFieldCount].empty();
    const Bytes file = Assemble(needsSeventh ? payload + kesto::shell::kPlatformFieldSeparator +
                                                   kesto::ToText(attempt)
                                             : payload);
    const kesto::shell::PlatformFile readBack = kesto::shell::ReadPlatformFile(file);
    if (readBack.state == kesto::shell::PlatformFileState::kPayloadTooLarge) {
      problem = "the values are too long: the enciphered payload may hold at most " +
                kesto::ToText(kesto::shell::kMaxPlatformPayloadBytes) + " bytes";
      return std::nullopt;
    }
    if (readBack.state == kesto::shell::PlatformFileState::kFields && readBack.fields == fields) {
      return file;
    }
  }
  problem = "no enciphered form of these values reads back unchanged";
  return std::nullopt;
}

}  // namespace regtool
