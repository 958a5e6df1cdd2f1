// Small pictures made in the tests, so that each case states its own pixels.
#pragma once

#include <cstdint>
#include <functional>

#include "runtime/core.h"

namespace kesto::testing {

struct Rgb {
  std::uint8_t r, g, b;
};

// A 24-bit BMP file of the size whose pixel (x, y) is colour(x, y).
inline Bytes MakeBmp(int width, int height, const std::function<Rgb(int, int)>& colour) {
  int stride = (width * 3 + 3) / 4 * 4;
  std::uint32_t imageSize = stride * height, fileSize = 54 + imageSize;
  Bytes b(54, 0);
  auto put32 = [&b](std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = (v >> (8 * k)) & 0xFF;
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, fileSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  b[26] = 1;
  b[28] = 24;
  put32(34, imageSize);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      Rgb c = colour(x, y);
      b.insert(b.end(), {c.b, c.g, c.r});
    }
    b.insert(b.end(), stride - width * 3, 0);
  }
  return b;
}

}  // namespace kesto::testing
