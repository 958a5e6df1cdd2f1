#include "update/vendor_key.h"

#include <algorithm>
#include <mutex>

#include "runtime/vendor_signature.h"

namespace kesto::update {

namespace {
// The build's keys (KESTO_VENDOR_KEY, or the key pair made for a demo or test build), each in
// hexadecimal digits of its DER SubjectPublicKeyInfo, separated by ",". The build checked them.
constexpr char kBuiltInKeys[] = KESTO_BUILT_IN_VENDOR_KEY;
std::mutex keyMutex;
std::optional<std::vector<Bytes>> overriddenKeys;

std::vector<Bytes> BuiltInKeys() {
  std::vector<Bytes> keys;
  const Text all = kBuiltInKeys;
  std::size_t start = 0;
  while (start <= all.size()) {
    const std::size_t comma = std::min(all.find(',', start), all.size());
    if (auto key = crypto::BytesFromHex(all.substr(start, comma - start)); key && !key->empty()) {
      keys.push_back(std::move(*key));
    }
    start = comma + 1;
  }
  return keys;
}
}  // namespace

std::vector<Bytes> VendorKeys() {
  std::lock_guard lock(keyMutex);
  if (overriddenKeys) return *overriddenKeys;
  return BuiltInKeys();
}

void OverrideVendorKeys(const std::optional<std::vector<Bytes>>& keys) {
  std::lock_guard lock(keyMutex);
  overriddenKeys = keys;
}

}  // namespace kesto::update
