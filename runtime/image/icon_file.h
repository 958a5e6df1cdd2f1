// The images of an ICO file, one by one: a window or tray icon picks the size it needs.
#pragma once

#include <vector>

#include "runtime/core.h"
#include "runtime/image/picture.h"

namespace kesto::image {

struct IconImage {
  int bitsPerPixel = 0;  // as the icon's directory states it
  RgbaImage image;
};

// Every image of the icon file that decodes, in directory order; empty when the bytes are not an
// icon file.
std::vector<IconImage> DecodeIconImages(const Bytes& file);

// The decoded image closest to `size` pixels square, preferring the deeper colour among equals;
// nullopt when there is none.
std::optional<RgbaImage> PickIconImage(const Bytes& file, int size);

// The icon file's image at exactly `size` pixels square: the smallest image at least that size,
// scaled down to it (the largest, scaled up, when none is that big), so that a size between the
// file's (20 at 125 %) is drawn from more pixels rather than stretched by whoever shows it;
// nullopt when there is none.
std::optional<RgbaImage> IconImageAtSize(const Bytes& file, int size);

}  // namespace kesto::image
