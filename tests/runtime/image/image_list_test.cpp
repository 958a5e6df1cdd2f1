// Image lists: creation, adding pictures with a transparent colour, and failures that leave the
// list as it was.
#include "runtime/image/image_list.h"

#include <gtest/gtest.h>

#include "assets/artwork.h"
#include "runtime/ui.h"
#include "test_pictures.h"

namespace kesto {
namespace {

using testing::MakeBmp;
using testing::Rgb;

int Alpha(const image::RgbaImage& image, int x, int y) {
  return image.Pixel(x, y)[3];
}

// Red left half, blue right half, a grey frame one pixel wide.
Bytes FramedPicture(int width, int height) {
  return MakeBmp(width, height, [=](int x, int y) {
    if (x == 0 || y == 0 || x == width - 1 || y == height - 1) return Rgb{128, 128, 128};
    return x < width / 2 ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
  });
}

TEST(ImageListCreate, GivesAnEmptyListOfTheCellSize) {
  Bytes list = ui::ImageListCreate(155, 140);
  auto info = image::ReadImageListInfo(list);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->width, 155);
  EXPECT_EQ(info->height, 140);
  EXPECT_EQ(info->count, 0);
}

TEST(ImageListCreate, RefusesSizesNoListCanHave) {
  EXPECT_TRUE(ui::ImageListCreate(0, 10).empty());
  EXPECT_TRUE(ui::ImageListCreate(10, -1).empty());
  EXPECT_TRUE(ui::ImageListCreate(100000, 100000).empty());
}

TEST(ImageListAdd, AppendsImagesAndReturnsTheirIndices) {
  Bytes list = ui::ImageListCreate(155, 140);
  EXPECT_EQ(ui::ImageListAdd(list, assets::kSampleTile1.ToBytes(), ColorValue(128, 128, 128)), 0);
  EXPECT_EQ(ui::ImageListAdd(list, assets::kSampleTile2.ToBytes(), ColorValue(128, 128, 128)), 1);
  EXPECT_EQ(image::ReadImageListInfo(list)->count, 2);
  auto second = image::ImageListImage(list, 1);
  ASSERT_TRUE(second);
  // The tile's grey surround is transparent, its white card is not.
  EXPECT_EQ(Alpha(*second, 0, 0), 0);
  EXPECT_EQ(Alpha(*second, 77, 120), 255);
  EXPECT_FALSE(image::ImageListImage(list, 2));
}

TEST(ImageListAdd, TransparentColourIsRedPlusGreenAndBlueShifted) {
  Bytes list = ui::ImageListCreate(8, 6);
  // ColorValue(255, 0, 0) is red: red pixels vanish, blue ones stay.
  ASSERT_EQ(ui::ImageListAdd(list, FramedPicture(8, 6), ColorValue(255, 0, 0)), 0);
  auto image = *image::ImageListImage(list, 0);
  EXPECT_EQ(Alpha(image, 2, 2), 0);
  EXPECT_EQ(Alpha(image, 6, 2), 255);
  EXPECT_EQ(Alpha(image, 0, 0), 255);
  EXPECT_EQ(image.Pixel(6, 2)[2], 255);
}

TEST(ImageListAdd, OmittedOrDefaultColourTakesTheTopLeftPixel) {
  for (std::optional<std::uint32_t> colour :
       {std::optional<std::uint32_t>{}, std::optional<std::uint32_t>{0xFF000000u}}) {
    Bytes list = ui::ImageListCreate(8, 6);
    ASSERT_EQ(ui::ImageListAdd(list, FramedPicture(8, 6), colour), 0);
    auto image = *image::ImageListImage(list, 0);
    EXPECT_EQ(Alpha(image, 0, 0), 0);  // the grey frame
    EXPECT_EQ(Alpha(image, 7, 5), 0);
    EXPECT_EQ(Alpha(image, 2, 2), 255);
  }
}

TEST(ImageListAdd, ScalesAPictureOfAnotherSizeToOneCell) {
  Bytes list = ui::ImageListCreate(20, 10);
  ASSERT_EQ(ui::ImageListAdd(list, FramedPicture(60, 30), ColorValue(0, 255, 0)), 0);
  EXPECT_EQ(image::ReadImageListInfo(list)->count, 1);
  auto image = *image::ImageListImage(list, 0);
  EXPECT_EQ(image.width, 20);
  EXPECT_EQ(image.Pixel(4, 5)[0], 255);   // red stays on the left
  EXPECT_EQ(image.Pixel(15, 5)[2], 255);  // blue on the right
}

TEST(ImageListAdd, AnyFailureGivesMinusOneAndLeavesTheListAsItWas) {
  Bytes list = ui::ImageListCreate(155, 140);
  ASSERT_EQ(ui::ImageListAdd(list, assets::kSampleTile1.ToBytes(), ColorValue(128, 128, 128)), 0);
  const Bytes before = list;
  Bytes gif = assets::kSampleTile2.ToBytes();
  Bytes truncated(gif.begin(), gif.begin() + gif.size() / 2);
  Bytes garbage = ToBytes("GIF89a this is no picture at all");
  for (const Bytes& picture : {Bytes{}, garbage, truncated}) {
    EXPECT_EQ(ui::ImageListAdd(list, picture, ColorValue(128, 128, 128)), -1);
    EXPECT_EQ(list, before);
  }
}

// A GIF is added without decoding its pixels; what is added must still be what the decoders
// take, so that a row never gets a picture index that shows nothing.
TEST(ImageListAdd, TakesAGifExactlyWhenTheDecodersTakeIt) {
  const Bytes gif = assets::kSampleTile1.ToBytes();
  std::vector<Bytes> variants;
  for (std::size_t length = 0; length <= gif.size(); length += length + 40 < gif.size() ? 13 : 1) {
    variants.emplace_back(gif.begin(), gif.begin() + length);
  }
  // The screen's colour-table flag and size, the first block's introducer, and bytes inside the
  // compressed data, each given values that change how the blocks read.
  for (std::size_t at : {std::size_t(6), std::size_t(10), std::size_t(781), std::size_t(800),
                         gif.size() / 2, gif.size() - 2, gif.size() - 1}) {
    for (std::uint8_t value : {0x00, 0x01, 0x21, 0x2C, 0x3B, 0x7F, 0xFF}) {
      Bytes changed = gif;
      changed[at] = value;
      variants.push_back(changed);
    }
  }
  for (const Bytes& picture : variants) {
    Bytes list = ui::ImageListCreate(155, 140);
    const bool decodes = image::DecodePicture(picture).has_value();
    EXPECT_EQ(ui::ImageListAdd(list, picture, ColorValue(128, 128, 128)), decodes ? 0 : -1)
        << picture.size() << " bytes";
    EXPECT_EQ(image::ImageListImage(list, 0).has_value(), decodes);
  }
}

TEST(ImageListAdd, RefusesBytesThatAreNoImageList) {
  Bytes good = ui::ImageListCreate(8, 6);
  Bytes shortened(good.begin(), good.end() - 1);
  Bytes empty;
  Bytes wrongCount = good;
  wrongCount[12] = 3;  // claims three images it does not hold
  for (Bytes list : {shortened, empty, wrongCount}) {
    const Bytes before = list;
    EXPECT_EQ(ui::ImageListAdd(list, FramedPicture(8, 6)), -1);
    EXPECT_EQ(list, before);
  }
}

}  // namespace
}  // namespace kesto
