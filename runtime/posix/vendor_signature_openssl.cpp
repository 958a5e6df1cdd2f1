// Digests and signature checks on OpenSSL's libcrypto.
#include <openssl/evp.h>
#include <openssl/x509.h>

#include "runtime/vendor_signature.h"

namespace kesto::crypto {

struct Sha256::Native {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  ~Native() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : native_(std::make_unique<Native>()) {
  EVP_DigestInit_ex(native_->context, EVP_sha256(), nullptr);
}

Sha256::~Sha256() = default;

void Sha256::Add(const std::uint8_t* data, std::size_t size) {
  EVP_DigestUpdate(native_->context, data, size);
}

Digest Sha256::Finish() {
  Digest digest{};
  unsigned int length = 0;
  EVP_DigestFinal_ex(native_->context, digest.data(), &length);
  return digest;
}

bool VerifySignature(const Bytes& publicKey, const std::uint8_t* message, std::size_t size,
                     const Bytes& signature) {
  // Only the one curve is taken, whatever else the library would read.
  if (!P256PointOf(publicKey) || !RawSignatureOf(signature)) return false;
  const unsigned char* at = publicKey.data();
  EVP_PKEY* key = d2i_PUBKEY(nullptr, &at, static_cast<long>(publicKey.size()));
  if (!key) return false;
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  const bool valid =
      context && EVP_DigestVerifyInit(context, nullptr, EVP_sha256(), nullptr, key) == 1 &&
      EVP_DigestVerify(context, signature.data(), signature.size(), message, size) == 1;
  EVP_MD_CTX_free(context);
  EVP_PKEY_free(key);
  return valid;
}

}  // namespace kesto::crypto
