// The vendor's public key that every update must be signed with: built in, or none in a build
// without one (then nothing is checked, as before keys existed).
#pragma once

#include <optional>

#include "runtime/core.h"

namespace kesto::update {

// DER SubjectPublicKeyInfo; empty when the build has no key.
Bytes VendorKey();
// Tests set their own key; no key given restores the built-in one.
void OverrideVendorKey(const std::optional<Bytes>& key);

}  // namespace kesto::update
