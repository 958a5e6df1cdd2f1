// The profile calls the cases run through: the platform's own in a Linux build, the system's
// in a Windows build, so that the one is compared with the other.
#pragma once

#include <optional>

#include "runtime/core.h"

namespace kesto {

Text CaseRead(const Text& file, const Text& section, const Text& key, const Text& defaultValue);
bool CaseWrite(const Text& file, const Text& section, const std::optional<Text>& key,
               const std::optional<Text>& value);

}  // namespace kesto
