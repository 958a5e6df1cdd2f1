// Splitting folder patterns and matching names against wildcards, character by character.
#include "runtime/posix/folder_pattern.h"

#include <string_view>
#include <vector>

#include "runtime/gbk_chars.h"
#include "runtime/posix/native_text.h"

namespace kesto::posix {

std::optional<FolderPattern> SplitFolderPattern(const Text& pattern) {
  int last = FindLastText(pattern, "\\");
  Text folder = last == -1 ? Text{} : LeftText(pattern, last - 1);
  Text name = last == -1 ? pattern : MidText(pattern, last + 1, TextLength(pattern));
  if (HasWildcards(folder)) return std::nullopt;
  std::optional<std::string> nativeFolder;
  if (last == -1) {
    nativeFolder = ".";
  } else if (folder.empty()) {
    nativeFolder = "/";
  } else {
    nativeFolder = ToNativePath(folder);
  }
  if (!nativeFolder || !ToNativePath(name)) return std::nullopt;
  return FolderPattern{*nativeFolder, name};
}

bool HasWildcards(const Text& name) {
  return FindText(name, "*") != -1 || FindText(name, "?") != -1;
}

namespace {

std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = gbk::CharLength(text, pos);
    characters.push_back(text.substr(pos, length));
    pos += length;
  }
  return characters;
}

bool SameCharacter(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1) {
    return gbk::FoldAscii(static_cast<unsigned char>(a[0])) ==
           gbk::FoldAscii(static_cast<unsigned char>(b[0]));
  }
  return a == b;
}

// Greedy matching with one backtrack point for the last "*" seen.
bool Matches(const std::vector<std::string_view>& pattern,
             const std::vector<std::string_view>& name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == "*") {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == "?" || SameCharacter(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == "*") ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatches(const Text& pattern, const Text& name) {
  // Every folder search asks for these for every name it reads: they match any name.
  if (pattern == "*.*" || (!pattern.empty() && pattern.find_first_not_of('*') == Text::npos)) {
    return true;
  }
  auto nameCharacters = Characters(name);
  auto patternCharacters = Characters(pattern);
  if (Matches(patternCharacters, nameCharacters)) return true;
  std::size_t count = patternCharacters.size();
  if (count >= 2 && patternCharacters[count - 2] == "." && patternCharacters[count - 1] == "*" &&
      name.find('.') == Text::npos) {
    patternCharacters.resize(count - 2);
    return Matches(patternCharacters, nameCharacters);
  }
  return false;
}

}  // namespace kesto::posix
