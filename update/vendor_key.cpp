#include "update/vendor_key.h"

#include <mutex>

#include "runtime/vendor_signature.h"
#include "shell/builtin_settings.h"

namespace kesto::update {

namespace {
std::mutex keyMutex;
std::optional<Bytes> overriddenKey;
}  // namespace

Bytes VendorKey() {
  std::lock_guard lock(keyMutex);
  if (overriddenKey) return *overriddenKey;
  return crypto::BytesFromHex(settings::kVendorKey).value_or(Bytes{});
}

void OverrideVendorKey(const std::optional<Bytes>& key) {
  std::lock_guard lock(keyMutex);
  overriddenKey = key;
}

}  // namespace kesto::update
