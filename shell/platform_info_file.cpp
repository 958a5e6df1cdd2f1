#include "shell/platform_info_file.h"

#include "net/des_cipher.h"
#include "shell/platform_key.h"

namespace kesto::shell {

Text PlatformPayloadKey(const Bytes& flagPiece) {
  DesCipher cipher;
  return ToText(cipher.Encrypt(flagPiece, platform_key::kDerivationKey)) + platform_key::kKeySuffix;
}

PlatformFile ReadPlatformFile(const Bytes& bytes) {
  PlatformFile file;
  Array<Bytes> pieces = SplitBytes(bytes, ToBytes(kPlatformFileSeparator));
  if (pieces.Count() != 2) return file;
  if (ToText(pieces[1]) != "1") {
    file.state = PlatformFileState::kNotEnciphered;
    return file;
  }
  if (BytesLength(pieces[2]) > kMaxPlatformPayloadBytes) {
    file.state = PlatformFileState::kPayloadTooLarge;
    return file;
  }
  DesCipher cipher;
  const Text payload = ToText(cipher.Decrypt(pieces[2], PlatformPayloadKey(pieces[1])));
  Array<Text> fields = SplitText(payload, Text(kPlatformFieldSeparator));
  if (fields.Count() < kPlatformFieldCount) {
    file.state = PlatformFileState::kTooFewFields;
    return file;
  }
  for (int i = 1; i <= kPlatformFieldCount; ++i) file.fields.Append(fields[i]);
  file.state = PlatformFileState::kFields;
  return file;
}

}  // namespace kesto::shell
