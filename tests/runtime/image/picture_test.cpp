// Decoding pictures: JPEG through libjpeg, the icon's separate images, and broken files.
#include "runtime/image/picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "assets/artwork.h"
#include "runtime/image/icon_file.h"
#include "tests/runtime/image/test_pictures.h"

namespace kesto {
namespace {

TEST(DecodePicture, ReadsTheJpegNote) {
  auto note = image::DecodePicture(assets::kTestPhaseNote.ToBytes());
  ASSERT_TRUE(note);
  EXPECT_EQ(note->width, 289);
  EXPECT_EQ(note->height, 100);
  EXPECT_EQ(note->Pixel(288, 99)[3], 255);
}

TEST(DecodePicture, BrokenJpegGivesNothingOrWhatWasReadable) {
  Bytes jpeg = assets::kTestPhaseNote.ToBytes();
  EXPECT_FALSE(image::DecodeJpeg(Bytes(jpeg.begin(), jpeg.begin() + 20)));
  EXPECT_FALSE(image::DecodeJpeg(Bytes{0xFF, 0xD8, 0xFF, 0x00, 0x01}));
  // A file cut short gives nothing (the system's decoder on Windows) or keeps the rows that
  // arrived; the rows it did not hold are then not made up (libjpeg would invent grey ones) but
  // left white.
  auto whole = image::DecodeJpeg(jpeg);
  ASSERT_TRUE(whole);
  auto cut = image::DecodeJpeg(Bytes(jpeg.begin(), jpeg.begin() + 3000));
  if (cut) {
    ASSERT_EQ(cut->width, 289);
    ASSERT_EQ(cut->height, 100);
    EXPECT_TRUE(std::equal(cut->Pixel(0, 0), cut->Pixel(0, 1), whole->Pixel(0, 0)));
    const std::uint8_t white[] = {255, 255, 255, 255};
    EXPECT_FALSE(std::equal(white, white + 4, whole->Pixel(200, 99)));
    EXPECT_TRUE(std::equal(white, white + 4, cut->Pixel(200, 99)));
  }
}

TEST(DecodeIconImages, GivesEveryImageOfTheIconInOrder) {
  auto images = image::DecodeIconImages(assets::kPlatformIcon.ToBytes());
  ASSERT_EQ(images.size(), 8u);
  const int sizes[] = {48, 32, 24, 16, 48, 32, 24, 16};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(images[i].image.width, sizes[i]);
    EXPECT_EQ(images[i].bitsPerPixel, i < 4 ? 8 : 32);
    // Rounded corners: transparent at the corner, opaque in the middle, at both depths.
    EXPECT_EQ(images[i].image.Pixel(0, 0)[3], 0) << i;
    EXPECT_EQ(images[i].image.Pixel(sizes[i] / 2, sizes[i] / 2)[3], 255) << i;
  }
}

TEST(PickIconImage, TakesTheNearestSizeAtTheDeeperColour) {
  Bytes icon = assets::kPlatformIcon.ToBytes();
  auto small = image::PickIconImage(icon, 16);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->width, 16);
  // The 32-bit image has partly transparent edge pixels; the 8-bit one only 0 or 255.
  bool partial = false;
  for (std::size_t i = 3; i < small->pixels.size(); i += 4) {
    partial |= small->pixels[i] != 0 && small->pixels[i] != 255;
  }
  EXPECT_TRUE(partial);
  EXPECT_EQ(image::PickIconImage(icon, 64)->width, 48);
}

// The tray icon at 125 % is 20 pixels: drawn from the 24-pixel image, not the 16-pixel one
// stretched. The file's own sizes come as they are, and a size beyond them from the largest.
TEST(IconImageAtSize, ScalesTheNextLargerImageDownToTheSizeAskedFor) {
  Bytes icon = assets::kPlatformIcon.ToBytes();
  auto at20 = image::IconImageAtSize(icon, 20);
  ASSERT_TRUE(at20);
  EXPECT_EQ(at20->width, 20);
  EXPECT_EQ(at20->height, 20);
  EXPECT_EQ(at20->pixels, image::ScaleImage(*image::PickIconImage(icon, 24), 20, 20)->pixels);
  EXPECT_EQ(image::IconImageAtSize(icon, 24)->pixels, image::PickIconImage(icon, 24)->pixels);
  EXPECT_EQ(image::IconImageAtSize(icon, 64)->pixels,
            image::ScaleImage(*image::PickIconImage(icon, 48), 64, 64)->pixels);
  EXPECT_FALSE(image::IconImageAtSize(Bytes{}, 16));
}

TEST(DecodeIconImages, SkipsEntriesThatPointOutsideTheFile) {
  Bytes icon = assets::kPlatformIcon.ToBytes();
  // Entry 2's offset beyond the end of the file.
  std::size_t entry = 6 + 16 * 2;
  icon[entry + 12] = icon[entry + 13] = icon[entry + 14] = icon[entry + 15] = 0xFF;
  EXPECT_EQ(image::DecodeIconImages(icon).size(), 7u);
  EXPECT_TRUE(image::DecodeIconImages(Bytes{0, 0, 1, 0, 9, 0}).empty());
  EXPECT_TRUE(image::DecodeIconImages(Bytes{}).empty());
}

// A decoder allocates what a header states before it reads on: damaged headers and formats that
// are none of ours never reach one.
TEST(DecodePicture, RefusesDamagedHeadersAndOtherFormats) {
  Bytes icon = assets::kPlatformIcon.ToBytes();
  EXPECT_TRUE(image::DecodePicture(icon));
  Bytes pastTheEnd = icon;
  pastTheEnd[6 + 16 * 2 + 15] = 0xC8;  // one image 3 GB away
  EXPECT_FALSE(image::DecodePicture(pastTheEnd));
  Bytes intoTheDirectory = icon;
  intoTheDirectory[6 + 12] = 6;
  intoTheDirectory[6 + 13] = intoTheDirectory[6 + 14] = intoTheDirectory[6 + 15] = 0;
  EXPECT_FALSE(image::DecodePicture(intoTheDirectory));
  const std::string xpm = "/* XPM */\nstatic char* p[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n";
  EXPECT_FALSE(image::DecodePicture(Bytes(xpm.begin(), xpm.end())));
  EXPECT_FALSE(image::DecodePicture(Bytes{'B', 'M', 0, 0}));
  // A three-pixel file that says it is 134 million pixels wide.
  Bytes wide{'B', 'M', 0x42, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0,  0x28,
             0,   0,   0,    3, 0, 0, 8, 1, 0, 0, 0,    1, 0, 24, 0};
  wide.resize(0x42, 0);
  EXPECT_FALSE(image::DecodePicture(wide));
  wide[21] = 0;
  EXPECT_TRUE(image::DecodePicture(wide));
}

// A few bytes that claim more than they hold (rows, a palette, pixels far past the end, a GIF
// screen of billions of pixels) would have the decoder allocate and fill for nothing.
TEST(DecodePicture, RefusesHeadersThatPromiseMoreThanTheFileHolds) {
  const Bytes bmp = testing::MakeBmp(4, 3, [](int x, int y) {
    return testing::Rgb{std::uint8_t(x * 60), std::uint8_t(y * 80), 7};
  });
  ASSERT_TRUE(image::DecodePicture(bmp));
  Bytes lastRowCut(bmp.begin(), bmp.end() - 1);
  EXPECT_FALSE(image::DecodePicture(lastRowCut));
  Bytes pixelsPastTheEnd = bmp;
  pixelsPastTheEnd[13] = 0x7F;
  EXPECT_FALSE(image::DecodePicture(pixelsPastTheEnd));
  Bytes paletteOfBillions = bmp;
  paletteOfBillions[14 + 35] = 0x7F;
  EXPECT_FALSE(image::DecodePicture(paletteOfBillions));

  Bytes gif{'G',  'I',  'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0,    0, 0, 0xFF, 0xFF,
            0xFF, 0x2C, 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x44, 1, 0, 0x3B};
  ASSERT_TRUE(image::DecodePicture(gif));
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;
  EXPECT_FALSE(image::DecodePicture(gif));

  // An icon image whose bitmap counts a palette beyond its bytes is skipped like one outside
  // the file, also when its header says it is too short to hold the count: the icon decoder
  // reads the count all the same.
  const Bytes icon = assets::kPlatformIcon.ToBytes();
  const std::size_t images = image::DecodeIconImages(icon).size();
  for (std::size_t entry = 6; entry < 6 + 16 * std::size_t(icon[4]); entry += 16) {
    std::size_t at = icon[entry + 12] | icon[entry + 13] << 8 | icon[entry + 14] << 16;
    if (icon[at] != 40) continue;  // a PNG image
    for (std::uint8_t headerSize : {40, 22}) {
      Bytes paletteOfBillions = icon;
      paletteOfBillions[at] = headerSize;
      paletteOfBillions[at + 35] = 0x7F;
      EXPECT_EQ(image::DecodeIconImages(paletteOfBillions).size(), images - 1) << +headerSize;
      EXPECT_FALSE(image::DecodePicture(paletteOfBillions)) << +headerSize;
    }
    return;
  }
  ADD_FAILURE() << "the platform's icon holds no bitmap image";
}

}  // namespace
}  // namespace kesto
