// The checks every back end makes in front of the profile-file operations, so that each reads
// and writes the same names and values.
#pragma once

#include <optional>

#include "runtime/core.h"

namespace kesto {

// The file, section and key names of a read start after their leading bytes of 0x20 or less.
Text SkipLeadingBlanks(const Text& text);

// False for names and values that would not read back as written, or that the system's profile
// calls cannot take.
bool StorableInProfile(const Text& section, const std::optional<Text>& key,
                       const std::optional<Text>& value);

}  // namespace kesto
