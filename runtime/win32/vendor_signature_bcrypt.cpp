// Digests and signature checks on the system's CNG, so that Windows needs no library of ours.
#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/vendor_signature.h"

namespace kesto::crypto {

namespace {

BCRYPT_ALG_HANDLE OpenAlgorithm(const wchar_t* name) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  return BCryptOpenAlgorithmProvider(&algorithm, name, nullptr, 0) == 0 ? algorithm : nullptr;
}

}  // namespace

struct Sha256::Native {
  BCRYPT_ALG_HANDLE algorithm = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~Native() {
    if (hash) BCryptDestroyHash(hash);
    if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
  }
};

Sha256::Sha256() : native_(std::make_unique<Native>()) {
  if (native_->algorithm) {
    BCryptCreateHash(native_->algorithm, &native_->hash, nullptr, 0, nullptr, 0, 0);
  }
}

Sha256::~Sha256() = default;

void Sha256::Add(const std::uint8_t* data, std::size_t size) {
  // CNG takes at most 4 GB a call.
  while (native_->hash && size > 0) {
    const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(size, 1u << 30));
    BCryptHashData(native_->hash, const_cast<PUCHAR>(data), piece, 0);
    data += piece;
    size -= piece;
  }
}

Digest Sha256::Finish() {
  Digest digest{};
  if (native_->hash) BCryptFinishHash(native_->hash, digest.data(), digest.size(), 0);
  return digest;
}

bool VerifySignature(const Bytes& publicKey, const std::uint8_t* message, std::size_t size,
                     const Bytes& signature) {
  const auto point = P256PointOf(publicKey);
  auto raw = RawSignatureOf(signature);
  if (!point || !raw) return false;
  BCRYPT_ALG_HANDLE algorithm = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
  if (!algorithm) return false;
  std::vector<std::uint8_t> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
  BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  std::memcpy(blob.data(), &header, sizeof header);
  std::memcpy(blob.data() + sizeof header, point->x.data(), 32);
  std::memcpy(blob.data() + sizeof header + 32, point->y.data(), 32);
  BCRYPT_KEY_HANDLE key = nullptr;
  bool valid = false;
  if (BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob.data(),
                          static_cast<ULONG>(blob.size()), 0) == 0) {
    Sha256 hasher;
    hasher.Add(message, size);
    Digest digest = hasher.Finish();
    valid = BCryptVerifySignature(key, nullptr, digest.data(), digest.size(), raw->data(),
                                  static_cast<ULONG>(raw->size()), 0) == 0;
    BCryptDestroyKey(key);
  }
  BCryptCloseAlgorithmProvider(algorithm, 0);
  return valid;
}

}  // namespace kesto::crypto
