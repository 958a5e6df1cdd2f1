#include "apps/path_helpers.h"

namespace kesto::apps {

namespace {
// Forward slashes and doubled backslashes folded, the trailing backslash kept. A path with
// neither byte pattern (the usual case) needs no pass; "/" is never part of a two-byte
// character, and a byte pair "\\" that is one only falls through to the exact pass.
Text FoldSeparators(const Text& path) {
  if (path.find('/') == Text::npos && path.find("\\\\") == Text::npos) return path;
  return ReplaceText(ReplaceText(path, "/", "\\"), "\\\\", "\\");
}
}  // namespace

Text NormalisePath(const Text& path) {
  Text folded = FoldSeparators(path);
  // Found as a character, so the second byte of a two-byte character is never dropped.
  if (!folded.empty() && FindLastText(folded, "\\") == TextLength(folded)) {
    folded = LeftText(folded, TextLength(folded) - 1);
  }
  return folded;
}

Text TextAfterSeparator(const Text& text, const Text& separator, bool firstOccurrence) {
  int at = firstOccurrence ? FindText(text, separator) : FindLastText(text, separator);
  if (at == -1) return {};
  return RightText(text, TextLength(text) - (at - 1) - TextLength(separator));
}

Text TextBeforeSeparator(const Text& text, const Text& separator, bool lastOccurrence) {
  int at = lastOccurrence ? FindLastText(text, separator) : FindText(text, separator);
  if (at == -1) return {};
  return LeftText(text, at - 1);
}

Text ParentFolderOf(const Text& path) {
  return TextBeforeSeparator(NormalisePath(path), "\\", true);
}

// The last non-empty element between separators, found from the last separator rather than
// by splitting the whole path: separators at the end close no element and are passed over.
Text FileNameOf(const Text& path, bool cutExtension) {
  Text folded = FoldSeparators(path);
  int last = FindLastText(folded, "\\");
  while (last != -1 && last == TextLength(folded)) {
    folded.pop_back();
    last = FindLastText(folded, "\\");
  }
  Text name = last == -1 ? folded : RightText(folded, TextLength(folded) - last);
  return cutExtension ? TextBeforeSeparator(name, ".") : name;
}

}  // namespace kesto::apps
