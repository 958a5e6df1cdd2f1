// The DER shapes of a P-256 public key and an ECDSA signature, read without a library: CNG
// takes raw numbers, and the bytes come from the network, so every length is checked.
#include <algorithm>
#include <cstring>

#include "runtime/vendor_signature.h"

namespace kesto::crypto {

namespace {

// SEQUENCE { SEQUENCE { id-ecPublicKey, prime256v1 }, BIT STRING { 0, 04 X Y } }: everything
// before the point is fixed for this curve.
constexpr std::uint8_t kP256KeyPrefix[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2A, 0x86, 0x48,
                                           0xCE, 0x3D, 0x02, 0x01, 0x06, 0x08, 0x2A, 0x86, 0x48,
                                           0xCE, 0x3D, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00, 0x04};

// Reads one DER element of `tag` with a short or one-byte long length at `at`; its content's
// start and length, with `at` moved past it.
bool ReadElement(const Bytes& der, std::size_t& at, std::uint8_t tag, std::size_t& start,
                 std::size_t& length) {
  if (at + 2 > der.size() || der[at] != tag) return false;
  std::size_t pos = at + 1;
  length = der[pos++];
  if (length == 0x81) {
    if (pos >= der.size() || der[pos] < 0x80) return false;
    length = der[pos++];
  } else if (length > 0x80) {
    return false;
  }
  if (length > der.size() - pos) return false;
  start = pos;
  at = pos + length;
  return true;
}

// A positive INTEGER of at most 32 significant bytes, right-aligned into `out`.
bool ReadNumber(const Bytes& der, std::size_t& at, std::uint8_t* out) {
  std::size_t start = 0, length = 0;
  if (!ReadElement(der, at, 0x02, start, length) || length == 0) return false;
  if (der[start] & 0x80) return false;                                          // negative
  if (length > 1 && der[start] == 0 && !(der[start + 1] & 0x80)) return false;  // padded
  while (length > 0 && der[start] == 0) {
    ++start;
    --length;
  }
  if (length > 32) return false;
  std::memset(out, 0, 32 - length);
  std::memcpy(out + 32 - length, der.data() + start, length);
  return true;
}

}  // namespace

std::optional<PublicPoint> P256PointOf(const Bytes& key) {
  if (key.size() != sizeof kP256KeyPrefix + 64 ||
      !std::equal(std::begin(kP256KeyPrefix), std::end(kP256KeyPrefix), key.begin())) {
    return std::nullopt;
  }
  PublicPoint point;
  std::copy_n(key.begin() + sizeof kP256KeyPrefix, 32, point.x.begin());
  std::copy_n(key.begin() + sizeof kP256KeyPrefix + 32, 32, point.y.begin());
  return point;
}

std::optional<std::array<std::uint8_t, 64>> RawSignatureOf(const Bytes& der) {
  std::size_t at = 0, start = 0, length = 0;
  if (!ReadElement(der, at, 0x30, start, length) || at != der.size()) return std::nullopt;
  std::array<std::uint8_t, 64> raw;
  at = start;
  if (!ReadNumber(der, at, raw.data()) || !ReadNumber(der, at, raw.data() + 32) ||
      at != der.size()) {
    return std::nullopt;
  }
  return raw;
}

std::optional<Bytes> BytesFromHex(const Text& hex) {
  if (hex.size() % 2) return std::nullopt;
  auto digit = [](char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
  };
  Bytes bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return bytes;
}

Digest Sha256Of(const Bytes& bytes) {
  Sha256 digest;
  digest.Add(bytes.data(), bytes.size());
  return digest.Finish();
}

Text DigestHex(const Digest& digest) {
  static const char kDigits[] = "0123456789abcdef";
  Text hex;
  for (std::uint8_t byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

}  // namespace kesto::crypto
