// Image lists of 32-bit pictures with a mask, in our own serialised form (runtime/image/
// image_list.h). Every image is one cell of the list's size; a picture of another size is scaled
// to the cell, so each added picture yields exactly one image.
#include "runtime/image/image_list.h"

#include <cstring>

#include "runtime/image/little_endian.h"
#include "runtime/ui.h"

namespace kesto {

namespace {
constexpr std::uint8_t kMagic[4] = {'K', 'I', 'L', '1'};
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kEntryHeaderSize = 8;
// A cell may not be wider or taller than a native image list would accept.
constexpr int kMaxCellSide = 32767;
constexpr std::uint32_t kTopLeftColour = 0xFF000000u;

using image::ReadU32;
using image::WriteU32;

void AppendU32(Bytes& b, std::uint32_t v) {
  b.resize(b.size() + 4);
  WriteU32(b, b.size() - 4, v);
}

bool ValidCell(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxCellSide && height <= kMaxCellSide &&
         width * height <= image::kMaxPicturePixels;
}

// Where a stored picture starts.
struct Entry {
  std::uint32_t colour;
  std::size_t offset, size;
};

// Walks the whole list, so that only a well-formed one counts, and keeps the entry at `wanted`
// (when there is one). A list is walked at every addition, so the walk allocates nothing.
bool ReadList(const Bytes& list, image::ImageListInfo& info, std::int64_t wanted = -1,
              Entry* found = nullptr) {
  if (list.size() < kHeaderSize || std::memcmp(list.data(), kMagic, 4) != 0) return false;
  std::int64_t width = ReadU32(list, 4), height = ReadU32(list, 8), count = ReadU32(list, 12);
  if (!ValidCell(width, height)) return false;
  // Each entry takes at least its own header, which bounds a believable count.
  if (count > std::int64_t((list.size() - kHeaderSize) / kEntryHeaderSize)) return false;
  std::size_t at = kHeaderSize;
  for (std::int64_t i = 0; i < count; ++i) {
    if (list.size() - at < kEntryHeaderSize) return false;
    std::size_t size = ReadU32(list, at + 4);
    if (list.size() - at - kEntryHeaderSize < size) return false;
    if (i == wanted && found) *found = {ReadU32(list, at), at + kEntryHeaderSize, size};
    at += kEntryHeaderSize + size;
  }
  if (at != list.size()) return false;
  info = {int(width), int(height), int(count)};
  return true;
}

// Clears every pixel of the colour, given as red + green * 256 + blue * 65536.
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
  ImageListInfo info;
  if (!ReadList(list, info)) return std::nullopt;
  return info;
}

std::optional<RgbaImage> ImageListImage(const Bytes& list, int index) {
  ImageListInfo info;
  Entry entry{};
  if (!ReadList(list, info, index, &entry) || index < 0 || index >= info.count) {
    return std::nullopt;
  }
  Bytes file(list.begin() + entry.offset, list.begin() + entry.offset + entry.size);
  std::optional<RgbaImage> picture = DecodePicture(file);
  if (!picture) return std::nullopt;
  ApplyTransparentColour(*picture, entry.colour);
  if (picture->width == info.width && picture->height == info.height) return picture;
  return ScaleImage(*picture, info.width, info.height);
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
  image::ImageListInfo info;
  if (!ReadList(imageList, info) || info.count == 0x7FFFFFFF) return -1;
  if (picture.size() > 0xFFFFFFFFu) return -1;
  std::uint32_t colour = transparentColour.value_or(kTopLeftColour);
  if (colour == kTopLeftColour) {
    std::optional<image::RgbaImage> decoded = image::DecodePicture(picture);
    if (!decoded) return -1;
    colour = TopLeftColour(*decoded);
  } else {
    if (!image::PictureDecodes(picture)) return -1;
    colour &= 0xFFFFFF;
  }
  AppendU32(imageList, colour);
  AppendU32(imageList, static_cast<std::uint32_t>(picture.size()));
  imageList.insert(imageList.end(), picture.begin(), picture.end());
  WriteU32(imageList, 12, info.count + 1);
  return info.count;
}

}  // namespace ui

}  // namespace kesto
