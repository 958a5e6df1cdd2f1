#include "runtime/image/picture_format.h"

#include <algorithm>
#include <array>

#include "runtime/image/little_endian.h"
#include "runtime/image/picture.h"

namespace kesto::image {

namespace {

constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kSmallestBmpHeader = 12;
constexpr std::uint32_t kLargestBmpHeader = 124;
constexpr std::uint32_t kBmpCoreHeader = 12;
constexpr std::size_t kIconHeaderSize = 6;
constexpr std::size_t kIconEntrySize = 16;

bool StartsWith(const Bytes& file, std::initializer_list<std::uint8_t> lead) {
  return file.size() >= lead.size() && std::equal(lead.begin(), lead.end(), file.begin());
}

// A BMP header is at most 124 bytes and lies inside the file, and its size is one we would hold:
// the decoder allocates a whole row before it reads one.
bool BmpHeaderFits(const Bytes& file) {
  if (file.size() < kBmpFileHeaderSize + 4) return false;
  std::uint32_t headerSize = ReadU32(file, kBmpFileHeaderSize);
  if (headerSize < kSmallestBmpHeader || headerSize > kLargestBmpHeader ||
      headerSize > file.size() - kBmpFileHeaderSize) {
    return false;
  }
  const std::size_t at = kBmpFileHeaderSize + 4;
  // Both sides signed: a negative height (rows top down) must not turn into a huge unsigned one.
  std::int64_t width = headerSize == kBmpCoreHeader ? std::int64_t(ReadU16(file, at))
                                                    : std::int64_t(std::int32_t(ReadU32(file, at)));
  std::int64_t height = headerSize == kBmpCoreHeader
                            ? std::int64_t(ReadU16(file, at + 2))
                            : std::int64_t(std::int32_t(ReadU32(file, at + 4)));
  if (height < 0) height = -height;  // rows stored top down
  return width > 0 && height > 0 && width * height <= kMaxPicturePixels;
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
    if (offset < directoryEnd || offset > file.size() || size > file.size() - offset) {
      return false;
    }
  }
  return true;
}

bool IsIconHeader(const Bytes& file) {
  return file.size() >= kIconHeaderSize && ReadU16(file, 0) == 0 &&
         (ReadU16(file, 2) == 1 || ReadU16(file, 2) == 2);
}

}  // namespace

PictureFormat SoundPictureFormat(const Bytes& file) {
  if (StartsWith(file, {0xFF, 0xD8, 0xFF})) return PictureFormat::kJpeg;
  if (StartsWith(file, {'G', 'I', 'F', '8'})) return PictureFormat::kGif;
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
