#include "runtime/image/picture_format.h"

#include <algorithm>
#include <array>

#include "runtime/image/gif_layout.h"
#include "runtime/image/little_endian.h"
#include "runtime/image/picture.h"

namespace kesto::image {

namespace {

constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kSmallestBmpHeader = 12;
constexpr std::uint32_t kLargestBmpHeader = 124;
constexpr std::uint32_t kBmpCoreHeader = 12;
constexpr std::uint32_t kBmpInfoHeader = 40;
constexpr std::size_t kIconHeaderSize = 6;
constexpr std::size_t kIconEntrySize = 16;
// The first four bytes of a PNG, read as a little-endian number.
constexpr std::uint32_t kPngLead = 0x474E5089;

bool StartsWith(const Bytes& file, std::initializer_list<std::uint8_t> lead) {
  return file.size() >= lead.size() && std::equal(lead.begin(), lead.end(), file.begin());
}

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

// A bitmap header (in a BMP after its file header, in an icon at its image's offset) is at most
// 124 bytes and lies inside the bytes it belongs to, and its size is one we would hold: the
// decoder allocates a whole row before it reads one. Uncompressed rows must all be there too,
// or a few bytes that claim millions of rows keep the decoder busy for nothing. An icon's header
// counts the rows of its colours and of its mask together.
bool BitmapHeaderFits(const Bytes& file, std::size_t at, std::size_t end, bool inIcon) {
  if (end < at || end - at < 4) return false;
  const std::uint32_t headerSize = ReadU32(file, at);
  // An icon's decoder reads a whole info header, palette count included, whatever size the
  // header gives itself.
  const std::uint32_t readSize = inIcon ? std::max(headerSize, kBmpInfoHeader) : headerSize;
  if (headerSize < kSmallestBmpHeader || headerSize > kLargestBmpHeader || readSize > end - at) {
    return false;
  }
  const bool core = readSize == kBmpCoreHeader;
  // Both sides signed: a negative height (rows top down) must not turn into a huge unsigned one.
  std::int64_t width = core ? std::int64_t(ReadU16(file, at + 4))
                            : std::int64_t(std::int32_t(ReadU32(file, at + 4)));
  std::int64_t height = core ? std::int64_t(ReadU16(file, at + 6))
                             : std::int64_t(std::int32_t(ReadU32(file, at + 8)));
  if (height < 0) height = -height;  // rows stored top down
  if (width <= 0 || height <= 0 || width * height > kMaxPicturePixels) return false;
  const std::int64_t room = std::int64_t(end - at - readSize);
  // The palette the header counts lies inside the bytes as well: the decoder allocates it first.
  const std::int64_t paletteBytes = readSize >= 36 ? std::int64_t(ReadU32(file, at + 32)) * 4 : 0;
  if (paletteBytes > room) return false;
  const std::int64_t bitsPerPixel = ReadU16(file, at + (core ? 10 : 14));
  const std::uint32_t compression = core || readSize < 20 ? kUncompressed : ReadU32(file, at + 16);
  if (compression != kUncompressed && compression != kBitFields) return true;
  const std::int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
  const std::int64_t colourRows = inIcon ? height / 2 : height;
  return rowBytes * colourRows <= room;
}

// The pixels' offset lies inside the file too: the decoder reads everything up to it first.
bool BmpHeaderFits(const Bytes& file) {
  return file.size() >= kBmpFileHeaderSize && ReadU32(file, 10) <= file.size() &&
         BitmapHeaderFits(file, kBmpFileHeaderSize, file.size(), false);
}

bool IsIconHeader(const Bytes& file) {
  return file.size() >= kIconHeaderSize && ReadU16(file, 0) == 0 &&
         (ReadU16(file, 2) == 1 || ReadU16(file, 2) == 2);
}

// Every image the directory lists lies inside the file, after the directory.
bool IconDirectoryFits(const Bytes& file) {
  std::size_t count = ReadU16(file, 4);
  std::size_t directoryEnd = kIconHeaderSize + count * kIconEntrySize;
  if (count == 0 || file.size() < directoryEnd) return false;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t entry = kIconHeaderSize + i * kIconEntrySize;
    std::size_t size = ReadU32(file, entry + 8);
    std::size_t offset = ReadU32(file, entry + 12);
    if (offset < directoryEnd || !IconImageFits(file, offset, size)) return false;
  }
  return true;
}

}  // namespace

bool IconImageFits(const Bytes& file, std::size_t offset, std::size_t size) {
  if (offset > file.size() || size > file.size() - offset) return false;
  if (size >= 4 && ReadU32(file, offset) == kPngLead) return true;
  return BitmapHeaderFits(file, offset, offset + size, true);
}

PictureFormat SoundPictureFormat(const Bytes& file) {
  if (StartsWith(file, {0xFF, 0xD8, 0xFF})) return PictureFormat::kJpeg;
  if (StartsWith(file, {'G', 'I', 'F', '8'})) {
    return GifScreenFits(file) ? PictureFormat::kGif : PictureFormat::kUnknown;
  }
  if (StartsWith(file, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return PictureFormat::kPng;
  if (StartsWith(file, {'B', 'M'})) {
    return BmpHeaderFits(file) ? PictureFormat::kBmp : PictureFormat::kUnknown;
  }
  if (IsIconHeader(file)) {
    return IconDirectoryFits(file) ? PictureFormat::kIcon : PictureFormat::kUnknown;
  }
  return PictureFormat::kUnknown;
}

}  // namespace kesto::image
