#include "runtime/image/gif_layout.h"

#include <cstring>

#include "runtime/image/little_endian.h"
#include "runtime/image/picture.h"

namespace kesto::image {

namespace {

constexpr std::size_t kSignatureSize = 6;
constexpr std::size_t kScreenDescriptorEnd = 13;
constexpr std::size_t kFrameDescriptorSize = 9;
constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kFrame = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kHasColourTable = 0x80;
// Codes of 12 bits are the most the format has; a start size this large leaves no room.
constexpr unsigned kLargestStartCodeSize = 11;

std::size_t ColourTableSize(std::uint8_t packed) {
  return (packed & kHasColourTable) ? 3u << ((packed & 7) + 1) : 0;
}

// Steps over a chain of data sub-blocks and its empty closing block; false when it runs past
// the end of the file.
bool SkipSubBlocks(const Bytes& file, std::size_t& at) {
  while (at < file.size()) {
    const std::size_t length = file[at++];
    if (length == 0) return true;
    if (file.size() - at < length) return false;
    at += length;
  }
  return false;
}

// Steps over one frame: descriptor, colour table, start code size and compressed data.
bool SkipFrame(const Bytes& file, std::size_t& at, bool hasScreenColours) {
  if (file.size() - at < kFrameDescriptorSize) return false;
  const std::uint8_t packed = file[at + 8];
  at += kFrameDescriptorSize;
  const std::size_t colours = ColourTableSize(packed);
  if (colours == 0 && !hasScreenColours) return false;
  if (file.size() - at < colours + 1) return false;
  at += colours;
  if (file[at++] > kLargestStartCodeSize) return false;
  return SkipSubBlocks(file, at);
}

}  // namespace

bool IsGif(const Bytes& file) {
  return file.size() >= kSignatureSize &&
         (std::memcmp(file.data(), "GIF87a", kSignatureSize) == 0 ||
          std::memcmp(file.data(), "GIF89a", kSignatureSize) == 0);
}

bool GifScreenFits(const Bytes& file) {
  if (file.size() < 10) return false;
  const std::int64_t width = ReadU16(file, 6), height = ReadU16(file, 8);
  return width > 0 && height > 0 && width * height <= kMaxPicturePixels;
}

bool GifLayoutIsWhole(const Bytes& file) {
  if (!IsGif(file) || file.size() < kScreenDescriptorEnd || !GifScreenFits(file)) return false;
  const std::size_t screenColours = ColourTableSize(file[10]);
  std::size_t at = kScreenDescriptorEnd;
  if (file.size() - at < screenColours) return false;
  at += screenColours;
  bool sawFrame = false;
  while (at < file.size()) {
    const std::uint8_t block = file[at++];
    if (block == kTrailer) return sawFrame;
    if (block == kExtension) {
      if (at++ >= file.size() || !SkipSubBlocks(file, at)) return false;
    } else if (block == kFrame) {
      if (!SkipFrame(file, at, screenColours != 0)) return false;
      sawFrame = true;
    }
    // Any other byte between blocks is passed over, as the decoders pass over it.
  }
  return false;
}

}  // namespace kesto::image
