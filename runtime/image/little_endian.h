// Little-endian integers inside byte buffers, as the icon and image-list formats store them.
// Callers check the bounds first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/core.h"

namespace kesto::image {

inline unsigned ReadU16(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}
inline std::uint32_t ReadU32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
inline void WriteU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = (v >> (8 * k)) & 0xFF;
}

}  // namespace kesto::image
