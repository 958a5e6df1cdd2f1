// Byte-counted slices of texts, and texts made of single characters or spaces.
#include "runtime/core.h"

namespace kesto {

int TextLength(const Text& text) {
  return static_cast<int>(text.size());
}

Text LeftText(const Text& text, int n) {
  if (n <= 0) return {};
  return text.substr(0, static_cast<std::size_t>(n));
}

Text RightText(const Text& text, int n) {
  if (n <= 0) return {};
  std::size_t count = std::min(text.size(), static_cast<std::size_t>(n));
  return text.substr(text.size() - count);
}

Text MidText(const Text& text, int start, int length) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || length <= 0) return {};
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

// The code's low byte; a zero byte would end the text at once.
Text CharText(int code) {
  char byte = static_cast<char>(code & 0xFF);
  return byte == 0 ? Text{} : Text(1, byte);
}

int CharCode(const Text& text, int position) {
  if (position < 1 || static_cast<std::size_t>(position) > text.size()) return 0;
  return static_cast<signed char>(text[static_cast<std::size_t>(position - 1)]);
}

Text Spaces(int n) {
  return n < 1 ? Text{} : Text(static_cast<std::size_t>(n), ' ');
}

}  // namespace kesto
