// Every kind of picture the platform ships decodes to the same pixels with each toolkit's
// decoders. The expected values were taken from the Linux decoders (gdk-pixbuf, libjpeg).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "assets/artwork.h"
#include "runtime/image/icon_file.h"
#include "runtime/image/picture.h"

namespace kesto {
namespace {

// FNV-1a over the size and the RGBA bytes, continuing from `hash`.
std::uint64_t Fingerprint(const image::RgbaImage& image,
                          std::uint64_t hash = 14695981039346656037ull) {
  auto add = [&hash](std::uint8_t byte) {
    hash ^= byte;
    hash *= 1099511628211ull;
  };
  for (int value : {image.width, image.height}) {
    for (int shift = 0; shift < 32; shift += 8) add(static_cast<std::uint8_t>(value >> shift));
  }
  for (std::uint8_t byte : image.pixels) add(byte);
  return hash;
}

TEST(PictureKinds, LosslessPicturesDecodeToTheSamePixels) {
  auto tile = image::DecodePicture(assets::kSampleTile1.ToBytes());
  auto button = image::DecodePicture(assets::kCloseNormal.ToBytes());
  ASSERT_TRUE(tile && button);
  EXPECT_EQ(Fingerprint(*tile), 17940714246383964436ull);
  EXPECT_EQ(Fingerprint(*button), 1920838875492476611ull);
  // The icon's images one by one, as the platform picks among them.
  std::uint64_t icon = 14695981039346656037ull;
  for (const auto& entry : image::DecodeIconImages(assets::kPlatformIcon.ToBytes())) {
    icon = Fingerprint(entry.image, icon);
  }
  EXPECT_EQ(icon, 6500846765416401484ull);
}

// JPEG decoders may round a sample one step apart; the picture stays the same.
TEST(PictureKinds, JpegDecodesToTheSamePixelsWithinRounding) {
  auto note = image::DecodePicture(assets::kTestPhaseNote.ToBytes());
  ASSERT_TRUE(note);
  ASSERT_EQ(note->width, 289);
  ASSERT_EQ(note->height, 100);
  long long sum = 0;
  for (std::uint8_t byte : note->pixels) sum += byte;
  EXPECT_LE(std::llabs(sum - 26839834), static_cast<long long>(note->pixels.size() / 1000));
}

}  // namespace
}  // namespace kesto
