// Conversions between integers, reals, logicals, texts and byte arrays.
#include <climits>
#include <cmath>

#include "runtime/core.h"

namespace kesto {

Text ToText(int value) {
  return std::to_string(value);
}

Text ToText(const Bytes& bytes) {
  Text text(bytes.begin(), bytes.end());
  return text.substr(0, text.find('\0'));
}

Text ToText(bool value) {
  return value ? "真" : "假";
}

// As the C library's atoi: leading blanks, an optional sign, then digits. A number beyond the
// 32-bit range gives the nearest limit instead of an undefined result.
int ToInteger(const Text& text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  long long magnitude = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    magnitude = std::min(magnitude * 10 + (text[pos] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  long long value = negative ? -magnitude : magnitude;
  return static_cast<int>(
      std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

// Truncated toward zero; a value outside the 32-bit range (or not a number) gives INT_MIN, the
// value the processor's own conversion yields.
int ToInteger(double value) {
  if (!(value > static_cast<double>(INT_MIN) - 1.0 && value < static_cast<double>(INT_MAX) + 1.0)) {
    return INT_MIN;
  }
  return static_cast<int>(value);
}

Bytes ToBytes(const Text& text) {
  return Bytes(text.begin(), text.end());
}

}  // namespace kesto
