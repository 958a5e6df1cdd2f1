// Decoding pictures held as file bytes (BMP, GIF, PNG, ICO, JPEG) into plain RGBA pixels that
// every toolkit back end can draw: gdk-pixbuf and libjpeg on Linux, the Windows Imaging
// Component on Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/core.h"

namespace kesto::image {

// Straight (not premultiplied) RGBA, row after row, 4 bytes a pixel, no padding.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  const std::uint8_t* Pixel(int x, int y) const {
    return &pixels[(std::size_t(y) * width + x) * 4];
  }
  std::uint8_t* Pixel(int x, int y) { return &pixels[(std::size_t(y) * width + x) * 4]; }
};

// Pictures beyond this many pixels are refused rather than allocated.
constexpr std::int64_t kMaxPicturePixels = 64LL * 1024 * 1024;

// Any picture format we know, told apart by its leading bytes; nullopt when it cannot be decoded.
// An animated GIF gives its first frame.
std::optional<RgbaImage> DecodePicture(const Bytes& file);

// Whether DecodePicture gives a picture, found as cheaply as the decoder allows: gdk-pixbuf's
// GIF loader takes exactly the GIFs whose block layout is whole, so a tile is checked without
// decoding its pixels; the system decoders on Windows are asked to decode.
bool PictureDecodes(const Bytes& file);

// JPEG only: libjpeg on Linux, the system decoders on Windows.
std::optional<RgbaImage> DecodeJpeg(const Bytes& file);

// Everything else: gdk-pixbuf on Linux, the same system decoders as JPEG on Windows.
std::optional<RgbaImage> DecodeOtherFormats(const Bytes& file);

// Copy of `source` scaled to width x height (bilinear), or nullopt for an empty size.
std::optional<RgbaImage> ScaleImage(const RgbaImage& source, int width, int height);

}  // namespace kesto::image
