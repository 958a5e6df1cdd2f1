// Image lists of 32-bit pictures with a mask, in our own serialised form (runtime/image/
// image_list.h). Every image is one cell of the list's size; a picture of another size is scaled
// to the cell, so each added picture yields exactly one image.
#include "runtime/image/image_list.h"

#include <cstring>

#include "runtime/ui.h"

namespace kesto {

namespace {
constexpr std::uint8_t kMagic[4] = {'K', 'I', 'L', '1'};
constexpr std::size_t kHeaderSize = 16;
// A cell may not be wider or taller than a native image list would accept.
constexpr int kMaxCellSide = 32767;
constexpr std::uint32_t kTopLeftColour = 0xFF000000u;

std::uint32_t ReadU32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
void WriteU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = (v >> (8 * k)) & 0xFF;
}

bool ValidCell(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxCellSide && height <= kMaxCellSide &&
         width * height <= image::kMaxPicturePixels;
}

std::size_t CellBytes(const image::ImageListInfo& info) {
  return std::size_t(info.width) * info.height * 4;
}

// Clears the alpha of every pixel of the colour, given as red + green * 256 + blue * 65536.
void ApplyTransparentColour(image::RgbaImage& picture, std::uint32_t colour) {
  std::uint8_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    std::uint8_t* p = &picture.pixels[i];
    if (p[0] == r && p[1] == g && p[2] == b) std::memset(p, 0, 4);
  }
}

std::uint32_t TopLeftColour(const image::RgbaImage& picture) {
  const std::uint8_t* p = picture.Pixel(0, 0);
  return p[0] | (p[1] << 8) | (std::uint32_t(p[2]) << 16);
}
}  // namespace

namespace image {

std::optional<ImageListInfo> ReadImageListInfo(const Bytes& list) {
  if (list.size() < kHeaderSize || std::memcmp(list.data(), kMagic, 4) != 0) return std::nullopt;
  std::int64_t width = ReadU32(list, 4), height = ReadU32(list, 8), count = ReadU32(list, 12);
  if (!ValidCell(width, height) || count > 0x7FFFFFFF) return std::nullopt;
  ImageListInfo info{int(width), int(height), int(count)};
  if ((list.size() - kHeaderSize) / CellBytes(info) != std::size_t(count) ||
      (list.size() - kHeaderSize) % CellBytes(info) != 0) {
    return std::nullopt;
  }
  return info;
}

std::optional<RgbaImage> ImageListImage(const Bytes& list, int index) {
  std::optional<ImageListInfo> info = ReadImageListInfo(list);
  if (!info || index < 0 || index >= info->count) return std::nullopt;
  RgbaImage out{info->width, info->height, {}};
  auto first = list.begin() + kHeaderSize + std::size_t(index) * CellBytes(*info);
  out.pixels.assign(first, first + CellBytes(*info));
  return out;
}

}  // namespace image

namespace ui {

Bytes ImageListCreate(int width, int height) {
  if (!ValidCell(width, height)) return {};
  Bytes list(kHeaderSize, 0);
  std::memcpy(list.data(), kMagic, 4);
  WriteU32(list, 4, width);
  WriteU32(list, 8, height);
  return list;
}

int ImageListAdd(Bytes& imageList, const Bytes& picture,
                 std::optional<std::uint32_t> transparentColour) {
  std::optional<image::ImageListInfo> info = image::ReadImageListInfo(imageList);
  if (!info || info->count == 0x7FFFFFFF) return -1;
  std::optional<image::RgbaImage> decoded = image::DecodePicture(picture);
  if (!decoded) return -1;
  std::uint32_t colour = transparentColour.value_or(kTopLeftColour);
  ApplyTransparentColour(*decoded,
                         colour == kTopLeftColour ? TopLeftColour(*decoded) : colour & 0xFFFFFF);
  std::optional<image::RgbaImage> cell = image::ScaleImage(*decoded, info->width, info->height);
  if (!cell) return -1;
  imageList.insert(imageList.end(), cell->pixels.begin(), cell->pixels.end());
  WriteU32(imageList, 12, info->count + 1);
  return info->count;
}

}  // namespace ui

}  // namespace kesto
