// ICO files: a directory of images. Each image is handed to the decoder as an icon file of its
// own, so that every size can be had, not only the one the decoder would pick.
#include "runtime/image/icon_file.h"

#include <cstdlib>

#include "runtime/image/little_endian.h"
#include "runtime/image/picture_format.h"

namespace kesto::image {

namespace {
constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;

// The colour depth of an entry: its bitmap header's count when the image is a bitmap, else the
// directory's.
int BitsPerPixel(const Bytes& file, std::size_t entry, std::size_t offset, std::size_t size) {
  if (size >= 16 && ReadU32(file, offset) == 40)
    return static_cast<int>(ReadU16(file, offset + 14));
  return static_cast<int>(ReadU16(file, entry + 6));
}
}  // namespace

std::vector<IconImage> DecodeIconImages(const Bytes& file) {
  std::vector<IconImage> images;
  if (file.size() < kHeaderSize || ReadU16(file, 0) != 0 || ReadU16(file, 2) != 1) return images;
  std::size_t count = ReadU16(file, 4);
  if (file.size() < kHeaderSize + count * kEntrySize) return images;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t entry = kHeaderSize + i * kEntrySize;
    std::size_t size = ReadU32(file, entry + 8);
    std::size_t offset = ReadU32(file, entry + 12);
    if (!IconImageFits(file, offset, size)) continue;
    Bytes single(file.begin(), file.begin() + kHeaderSize + kEntrySize);
    single[4] = 1;
    single[5] = 0;
    std::uint32_t newOffset = kHeaderSize + kEntrySize;
    for (int k = 0; k < 16; ++k) single[kHeaderSize + k] = file[entry + k];
    WriteU32(single, kHeaderSize + 12, newOffset);
    single.insert(single.end(), file.begin() + offset, file.begin() + offset + size);
    if (auto image = DecodeOtherFormats(single)) {
      images.push_back({BitsPerPixel(file, entry, offset, size), std::move(*image)});
    }
  }
  return images;
}

std::optional<RgbaImage> PickIconImage(const Bytes& file, int size) {
  std::vector<IconImage> images = DecodeIconImages(file);
  const IconImage* best = nullptr;
  auto distance = [size](const IconImage& i) { return std::abs(i.image.width - size); };
  for (const IconImage& image : images) {
    if (!best || distance(image) < distance(*best) ||
        (distance(image) == distance(*best) && image.bitsPerPixel > best->bitsPerPixel)) {
      best = &image;
    }
  }
  if (!best) return std::nullopt;
  return best->image;
}

std::optional<RgbaImage> IconImageAtSize(const Bytes& file, int size) {
  std::vector<IconImage> images = DecodeIconImages(file);
  auto better = [size](const IconImage& a, const IconImage& b) {
    const bool aFits = a.image.width >= size, bFits = b.image.width >= size;
    if (aFits != bFits) return aFits;
    if (a.image.width != b.image.width) return aFits == (a.image.width < b.image.width);
    return a.bitsPerPixel > b.bitsPerPixel;
  };
  const IconImage* best = nullptr;
  for (const IconImage& image : images) {
    if (!best || better(image, *best)) best = &image;
  }
  if (!best) return std::nullopt;
  return ScaleImage(best->image, size, size);
}

}  // namespace kesto::image
