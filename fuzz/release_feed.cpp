// The release feed and the signature encodings read from the network: whatever the bytes, a
// feed that parses holds only plain file names, dotted versions and fetch addresses, and a
// signature that decodes gives two 32-byte numbers.
#include "update/release_feed.h"

#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (auto feed = kesto::update::ParseFeed(text)) {
    for (const auto& [key, release] : feed->releases) {
      FUZZ_CHECK(!key.empty() && key[0] != '.' && key.find_first_of("/\\:") == std::string::npos);
      FUZZ_CHECK(kesto::update::IsVersion(release.version));
      FUZZ_CHECK(kesto::update::CompareVersions(release.version, release.version) == 0);
      FUZZ_CHECK(!release.files.empty());
      for (const auto& file : release.files) {
        FUZZ_CHECK(!file.name.empty() && file.name[0] != '.');
        FUZZ_CHECK(file.name.find_first_of("/\\:") == std::string::npos);
        FUZZ_CHECK(file.url.rfind("http", 0) == 0 || file.url.find("..") == std::string::npos);
      }
    }
  }
  const kesto::Bytes bytes(data, data + size);
  if (kesto::crypto::RawSignatureOf(bytes)) FUZZ_CHECK(size >= 8 && size <= 72 && data[0] == 0x30);
  if (kesto::crypto::P256PointOf(bytes)) FUZZ_CHECK(size == 91);
  return 0;
}
