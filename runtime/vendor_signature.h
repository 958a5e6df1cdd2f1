// What the platform checks before it runs anything it fetched: SHA-256 digests and the
// vendor's ECDSA P-256 signatures, on the system's own cryptography (libcrypto on POSIX, CNG on
// Windows). Keys and signatures come in the encodings the `openssl` tool writes: a public key as
// DER SubjectPublicKeyInfo, a signature as a DER ECDSA-Sig-Value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "runtime/core.h"

namespace kesto::crypto {

using Digest = std::array<std::uint8_t, 32>;

// A SHA-256 digest of bytes given piece by piece.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;
  void Add(const std::uint8_t* data, std::size_t size);
  // The digest of everything added; the object is spent after it.
  Digest Finish();

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

Digest Sha256Of(const Bytes& bytes);
// The digest as 64 lower-case hexadecimal digits.
Text DigestHex(const Digest& digest);

// True only when `signature` is a valid ECDSA P-256 signature, over the SHA-256 digest of the
// message, by the key; a key or signature that is not well formed gives false.
bool VerifySignature(const Bytes& publicKey, const std::uint8_t* message, std::size_t size,
                     const Bytes& signature);

// The bytes that pairs of hexadecimal digits (either case) spell; nothing for anything else.
std::optional<Bytes> BytesFromHex(const Text& hex);

// ---- encodings shared by the back ends ----

// The key's point as 32-byte X and Y, from a P-256 SubjectPublicKeyInfo; nothing for any other.
struct PublicPoint {
  std::array<std::uint8_t, 32> x;
  std::array<std::uint8_t, 32> y;
};
std::optional<PublicPoint> P256PointOf(const Bytes& subjectPublicKeyInfo);

// r and s of a DER ECDSA-Sig-Value, each as 32 big-endian bytes; nothing when it is not one
// exactly, or a number does not fit.
std::optional<std::array<std::uint8_t, 64>> RawSignatureOf(const Bytes& der);

}  // namespace kesto::crypto
