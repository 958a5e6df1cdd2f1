// SplitText and SplitBytes.
#include "runtime/core.h"
#include "runtime/gbk_chars.h"
#include "runtime/split_rules.h"

namespace kesto {

Array<Text> SplitText(const Text& text, std::optional<Text> separator,
                      std::optional<int> maxCount) {
  std::string_view whole = text;
  Text sep = separator.value_or(",");
  auto parts = split::Split(
      whole, sep, maxCount, [&](std::size_t pos) { return gbk::CharLength(whole, pos); },
      [&](std::size_t pos) { return gbk::MatchesAt(whole, pos, sep, false); });
  Array<Text> result;
  for (std::string_view part : parts) result.Append(Text(part));
  return result;
}

// Without a separator byte arrays are split at zero bytes.
Array<Bytes> SplitBytes(const Bytes& bytes, std::optional<Bytes> separator,
                        std::optional<int> maxCount) {
  auto view = [](const Bytes& b) {
    return std::string_view(reinterpret_cast<const char*>(b.data()), b.size());
  };
  Bytes sep = separator.value_or(Bytes{0});
  std::string_view whole = view(bytes);
  auto parts = split::Split(
      whole, view(sep), maxCount, [](std::size_t) { return std::size_t{1}; },
      [&](std::size_t pos) { return whole.substr(pos, sep.size()) == view(sep); });
  Array<Bytes> result;
  for (std::string_view part : parts) result.Append(Bytes(part.begin(), part.end()));
  return result;
}

}  // namespace kesto
