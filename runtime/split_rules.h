// The one splitting rule behind SplitText and SplitBytes: parts between separators, empty
// parts kept except a last one, at most maxCount parts.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace kesto::split {

// `step(pos)` gives the length of the unit that starts at pos: a character for texts, one
// byte for byte arrays. `separatorAt(pos)` tells whether the separator stands at pos: for
// texts only whole characters match, so a separator that ends in a lead byte never takes the
// first half of a two-byte character.
template <class Step, class SeparatorAt>
std::vector<std::string_view> Split(std::string_view whole, std::string_view separator,
                                    std::optional<int> maxCount, Step step,
                                    SeparatorAt separatorAt) {
  std::vector<std::string_view> parts;
  if (whole.empty() || (maxCount && *maxCount < 1)) return parts;
  if (separator.empty()) {
    parts.push_back(whole);
    return parts;
  }
  auto full = [&] { return maxCount && static_cast<int>(parts.size()) >= *maxCount; };
  std::size_t partStart = 0;
  std::size_t pos = 0;
  while (pos < whole.size()) {
    if (separatorAt(pos)) {
      parts.push_back(whole.substr(partStart, pos - partStart));
      if (full()) return parts;
      pos += separator.size();
      partStart = pos;
    } else {
      pos += step(pos);
    }
  }
  if (partStart < whole.size() && !full()) parts.push_back(whole.substr(partStart));
  return parts;
}

}  // namespace kesto::split
