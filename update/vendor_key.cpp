#include "update/vendor_key.h"

#include <mutex>

#include "runtime/vendor_signature.h"

namespace kesto::update {

namespace {
// The build's key (KESTO_VENDOR_KEY), in hexadecimal digits of its DER SubjectPublicKeyInfo;
// empty in a build without one.
constexpr char kBuiltInKey[] = KESTO_BUILT_IN_VENDOR_KEY;
std::mutex keyMutex;
std::optional<Bytes> overriddenKey;
}  // namespace

Bytes VendorKey() {
  std::lock_guard lock(keyMutex);
  if (overriddenKey) return *overriddenKey;
  return crypto::BytesFromHex(kBuiltInKey).value_or(Bytes{});
}

void OverrideVendorKey(const std::optional<Bytes>& key) {
  std::lock_guard lock(keyMutex);
  overriddenKey = key;
}

}  // namespace kesto::update
