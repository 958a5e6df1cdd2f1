// Digests and signature checks on OpenSSL's libcrypto, opened at the first digest or check, not
// when a program starts: a start that only hands over (the platform started by hand, the updater
// starting a target whose release is in place) never pays for loading it. A machine without
// libcrypto checks nothing as good: every digest comes out empty and every signature false.
#include <dlfcn.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <cstdio>

#include "runtime/vendor_signature.h"

namespace kesto::crypto {

namespace {

// The library's functions used here, by their own names and types.
struct Libcrypto {
  decltype(&EVP_MD_CTX_new) mdContextNew = nullptr;
  decltype(&EVP_MD_CTX_free) mdContextFree = nullptr;
  decltype(&EVP_sha256) sha256 = nullptr;
  decltype(&EVP_DigestInit_ex) digestInit = nullptr;
  decltype(&EVP_DigestUpdate) digestUpdate = nullptr;
  decltype(&EVP_DigestFinal_ex) digestFinal = nullptr;
  decltype(&d2i_PUBKEY) readPublicKey = nullptr;
  decltype(&EVP_PKEY_free) publicKeyFree = nullptr;
  decltype(&EVP_DigestVerifyInit) verifyInit = nullptr;
  decltype(&EVP_DigestVerify) verify = nullptr;

  bool Complete() const {
    return mdContextNew && mdContextFree && sha256 && digestInit && digestUpdate && digestFinal &&
           readPublicKey && publicKeyFree && verifyInit && verify;
  }
};

template <class Function>
void Find(void* library, Function& function, const char* name) {
  function = reinterpret_cast<Function>(dlsym(library, name));
}

// Opened once, by whichever thread asks first; nothing when the library or one of its
// functions is missing.
const Libcrypto* Library() {
  static const Libcrypto* const library = []() -> const Libcrypto* {
    void* opened = dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL);
    if (!opened) {
      std::fprintf(stderr, "kesto: libcrypto cannot be loaded: %s\n", dlerror());
      return nullptr;
    }
    static Libcrypto found;
    Find(opened, found.mdContextNew, "EVP_MD_CTX_new");
    Find(opened, found.mdContextFree, "EVP_MD_CTX_free");
    Find(opened, found.sha256, "EVP_sha256");
    Find(opened, found.digestInit, "EVP_DigestInit_ex");
    Find(opened, found.digestUpdate, "EVP_DigestUpdate");
    Find(opened, found.digestFinal, "EVP_DigestFinal_ex");
    Find(opened, found.readPublicKey, "d2i_PUBKEY");
    Find(opened, found.publicKeyFree, "EVP_PKEY_free");
    Find(opened, found.verifyInit, "EVP_DigestVerifyInit");
    Find(opened, found.verify, "EVP_DigestVerify");
    if (!found.Complete()) {
      std::fprintf(stderr, "kesto: libcrypto lacks a function the signature checks need\n");
      return nullptr;
    }
    return &found;
  }();
  return library;
}

}  // namespace

struct Sha256::Native {
  const Libcrypto* library = Library();
  EVP_MD_CTX* context = library ? library->mdContextNew() : nullptr;
  ~Native() {
    if (context) library->mdContextFree(context);
  }
};

Sha256::Sha256() : native_(std::make_unique<Native>()) {
  if (native_->context) {
    native_->library->digestInit(native_->context, native_->library->sha256(), nullptr);
  }
}

Sha256::~Sha256() = default;

void Sha256::Add(const std::uint8_t* data, std::size_t size) {
  if (native_->context) native_->library->digestUpdate(native_->context, data, size);
}

Digest Sha256::Finish() {
  Digest digest{};
  unsigned int length = 0;
  if (native_->context) native_->library->digestFinal(native_->context, digest.data(), &length);
  return digest;
}

bool VerifySignature(const Bytes& publicKey, const std::uint8_t* message, std::size_t size,
                     const Bytes& signature) {
  // Only the one curve is taken, whatever else the library would read.
  if (!P256PointOf(publicKey) || !RawSignatureOf(signature)) return false;
  const Libcrypto* library = Library();
  if (!library) return false;
  const unsigned char* at = publicKey.data();
  EVP_PKEY* key = library->readPublicKey(nullptr, &at, static_cast<long>(publicKey.size()));
  if (!key) return false;
  EVP_MD_CTX* context = library->mdContextNew();
  const bool valid =
      context && library->verifyInit(context, nullptr, library->sha256(), nullptr, key) == 1 &&
      library->verify(context, signature.data(), signature.size(), message, size) == 1;
  if (context) library->mdContextFree(context);
  library->publicKeyFree(key);
  return valid;
}

}  // namespace kesto::crypto
