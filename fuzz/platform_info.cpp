// The platform information file: any bytes give one defined state with six fields or none, and
// six fields enciphered as the file's makers do read back unchanged.
#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "net/des_cipher.h"
#include "shell/platform_info_file.h"

namespace {

using kesto::Bytes;
using kesto::Text;
using namespace kesto::shell;

void CheckAnyFile(const Bytes& bytes) {
  PlatformFile file = ReadPlatformFile(bytes);
  FUZZ_CHECK(file.fields.Count() == (file.state == PlatformFileState::kFields ? 6 : 0));
}

// Six fields from the input, enciphered under the key of flag "1", must read back.
void CheckMadeFile(kesto::fuzz::InputReader& input) {
  kesto::Array<Text> fields;
  Text payload;
  for (int i = 0; i < kPlatformFieldCount; ++i) {
    Text field = input.Piece();
    if (field.find(kPlatformFieldSeparator) != Text::npos) return;
    payload += (i == 0 ? "" : kPlatformFieldSeparator) + field;
    fields.Append(field);
  }
  // Fields that end in a lead byte or in the separator's first bytes, or a last empty field,
  // split otherwise: such payloads are not what the makers write.
  if (kesto::SplitText(payload, kPlatformFieldSeparator) != fields) return;
  Bytes flag = kesto::ToBytes("1");
  kesto::DesCipher cipher;
  Bytes enciphered = cipher.Encrypt(kesto::ToBytes(payload), PlatformPayloadKey(flag));
  Bytes separator = kesto::ToBytes(kPlatformFileSeparator);
  // A payload that happens to hold the separator makes a file of three pieces.
  if (std::search(enciphered.begin(), enciphered.end(), separator.begin(), separator.end()) !=
      enciphered.end()) {
    return;
  }
  Bytes bytes = flag;
  bytes.insert(bytes.end(), separator.begin(), separator.end());
  bytes.insert(bytes.end(), enciphered.begin(), enciphered.end());
  PlatformFile file = ReadPlatformFile(bytes);
  if (kesto::BytesLength(enciphered) > kMaxPlatformPayloadBytes) {
    FUZZ_CHECK(file.state == PlatformFileState::kPayloadTooLarge);
    return;
  }
  FUZZ_CHECK(file.state == PlatformFileState::kFields);
  FUZZ_CHECK(file.fields == fields);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckAnyFile(Bytes(data, data + size));
  kesto::fuzz::InputReader input(data, size);
  CheckMadeFile(input);
  return 0;
}
