// Path and text helpers of the installed-application scan. Paths are "\"-separated GBK texts;
// every helper works on bytes and never cuts a two-byte character.
#pragma once

#include "runtime/core.h"

namespace kesto::apps {

// "/" becomes "\", each "\\" becomes "\" (one pass), and one trailing "\" is dropped.
Text NormalisePath(const Text& path);

// The bytes after the last separator (after the first with `firstOccurrence`); empty when the
// separator does not occur.
Text TextAfterSeparator(const Text& text, const Text& separator, bool firstOccurrence = false);

// The bytes before the first separator (before the last with `lastOccurrence`); empty when the
// separator does not occur.
Text TextBeforeSeparator(const Text& text, const Text& separator, bool lastOccurrence = false);

// The normalised path cut before its last "\"; empty when there is none.
Text ParentFolderOf(const Text& path);

// The last non-empty element of the normalised path; with `cutExtension` that name cut before
// its first "." (empty when it has none).
Text FileNameOf(const Text& path, bool cutExtension = false);

}  // namespace kesto::apps
