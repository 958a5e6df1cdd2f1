// The vendor's public keys that every update must be signed with, built into every program: the
// current key and, while the vendor replaces it, the next one. There is always at least one.
#pragma once

#include <optional>
#include <vector>

#include "runtime/core.h"

namespace kesto::update {

// Each key as DER SubjectPublicKeyInfo.
std::vector<Bytes> VendorKeys();
// Tests set their own keys; nothing given restores the built-in ones.
void OverrideVendorKeys(const std::optional<std::vector<Bytes>>& keys);

}  // namespace kesto::update
