// The text of a profile (INI) file, read and edited as the Windows profile functions do:
// "[section]" headers, "key=value" lines ending at CR LF, CR or LF, names matched without regard
// to ASCII case, blanks around names and values ignored, UTF-8 after a byte-order mark,
// everything not touched kept byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/core.h"

namespace kesto::profile {

// The value of the first such key in the first such section, blanks trimmed and one pair of
// enclosing quotes ("..." or '...') removed; nothing when the section or key is missing.
std::optional<Text> Lookup(std::string_view content, const Text& section, const Text& key);

// The content after setting key=value (no key: the section removed; no value: the key
// removed). A new key goes after the last line of its section, a new section at the end,
// both with CRLF line ends. Nothing when the content stays as it is.
std::optional<std::string> Edit(std::string_view content, const Text& section,
                                const std::optional<Text>& key, const std::optional<Text>& value);

}  // namespace kesto::profile
