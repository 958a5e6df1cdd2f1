// Byte-array slices and constructions.
#include <climits>

#include "runtime/core.h"

namespace kesto {

int BytesLength(const Bytes& bytes) {
  return static_cast<int>(bytes.size());
}

Bytes LeftBytes(const Bytes& bytes, int n) {
  std::size_t count = n <= 0 ? 0 : std::min(bytes.size(), static_cast<std::size_t>(n));
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes RightBytes(const Bytes& bytes, int n) {
  std::size_t count = n <= 0 ? 0 : std::min(bytes.size(), static_cast<std::size_t>(n));
  return Bytes(bytes.end() - static_cast<std::ptrdiff_t>(count), bytes.end());
}

Bytes ZeroBytes(int n) {
  return n <= 0 ? Bytes{} : Bytes(static_cast<std::size_t>(n), 0);
}

// A result longer than a byte array can count (a signed 32-bit length) is empty.
Bytes RepeatBytes(int count, const Bytes& bytes) {
  if (count <= 0 || bytes.empty()) return {};
  if (bytes.size() > static_cast<std::size_t>(INT_MAX) / static_cast<std::size_t>(count)) {
    return {};
  }
  Bytes result;
  result.reserve(bytes.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) result.insert(result.end(), bytes.begin(), bytes.end());
  return result;
}

}  // namespace kesto
