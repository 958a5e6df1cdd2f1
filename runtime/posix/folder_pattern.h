// Folder patterns as the Windows file search takes them: a folder, then a last part that may
// hold the wildcards "*" and "?".
#pragma once

#include <optional>
#include <string>

#include "runtime/core.h"

namespace kesto::posix {

struct FolderPattern {
  std::string folder;  // native folder to list ("." for the current one)
  Text name;           // the last part, GBK; may hold wildcards
};

// Splits at the last "\"; nothing for a path that cannot name a file (not GBK, or a wildcard
// in a folder part). The name is empty when the pattern ends in "\".
std::optional<FolderPattern> SplitFolderPattern(const Text& pattern);

bool HasWildcards(const Text& name);

// Windows wildcard matching of a folder entry's name: "*" any run of characters, "?" one
// character, a trailing ".*" also matches a name without a dot (so "*.*" matches every name),
// ASCII letters without regard to case.
bool WildcardMatches(const Text& pattern, const Text& name);

}  // namespace kesto::posix
