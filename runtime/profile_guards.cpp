// Checks in front of the profile-file operations.
#include "runtime/profile_guards.h"

namespace kesto {

Text SkipLeadingBlanks(const Text& text) {
  std::size_t first = 0;
  while (first < text.size() && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
  return text.substr(first);
}

namespace {

// The system's profile calls turn each name and value into a counted wide string of at most
// 32767 characters with its end; a longer text cannot be handed to them at all.
constexpr std::size_t kLongestProfileText = 32766;

bool TooLong(const std::optional<Text>& text) {
  return text && text->size() > kLongestProfileText;
}

}  // namespace

// A line end starts lines of its own, a "]" in a section name or an "=" in a key ends the name
// early, and a key beginning with "[" would be a section header.
bool StorableInProfile(const Text& section, const std::optional<Text>& key,
                       const std::optional<Text>& value) {
  auto holdsLineEnd = [](const Text& text) { return text.find_first_of("\r\n") != Text::npos; };
  if (section.empty() || holdsLineEnd(section) || FindText(section, "]") != -1) return false;
  if (TooLong(section) || TooLong(key) || TooLong(value)) return false;
  if (key) {
    std::size_t first = key->find_first_not_of(" \t\v\f");
    if (first == Text::npos || (*key)[first] == '[' || holdsLineEnd(*key) ||
        key->find('=') != Text::npos) {
      return false;
    }
  }
  return !value || !holdsLineEnd(*value);
}

}  // namespace kesto
