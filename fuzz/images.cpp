// The icon and picture readers and the image-list byte format: whatever the bytes, every
// decoded image has the size its pixels fill, and an image list reads back what was added.
#include "fuzz/fuzz_check.h"
#include "runtime/image/icon_file.h"
#include "runtime/image/image_list.h"
#include "runtime/ui.h"

namespace {

using kesto::Bytes;
using namespace kesto::image;

void CheckShape(const RgbaImage& image) {
  FUZZ_CHECK(image.width > 0 && image.height > 0);
  FUZZ_CHECK(image.pixels.size() == std::size_t(image.width) * std::size_t(image.height) * 4);
}

void CheckIcon(const Bytes& file, int size) {
  std::vector<IconImage> images = DecodeIconImages(file);
  for (const IconImage& icon : images) CheckShape(icon.image);
  std::optional<RgbaImage> picked = PickIconImage(file, size);
  FUZZ_CHECK(picked.has_value() == !images.empty());
}

void CheckImageList(const Bytes& list) {
  std::optional<ImageListInfo> info = ReadImageListInfo(list);
  if (!info) {
    FUZZ_CHECK(!ImageListImage(list, 0));
    return;
  }
  FUZZ_CHECK(!ImageListImage(list, -1) && !ImageListImage(list, info->count));
  for (int i = 0; i < info->count && i < 4; ++i) {
    if (std::optional<RgbaImage> image = ImageListImage(list, i)) {
      CheckShape(*image);
      FUZZ_CHECK(image->width == info->width && image->height == info->height);
    }
  }
}

// A picture added to a new list is its one image, at the cell size.
void CheckAddedPicture(const Bytes& picture, int side) {
  Bytes list = kesto::ui::ImageListCreate(side, side);
  int index = kesto::ui::ImageListAdd(list, picture, std::nullopt);
  if (index == -1) {
    FUZZ_CHECK(!DecodePicture(picture));
    return;
  }
  FUZZ_CHECK(index == 0);
  std::optional<ImageListInfo> info = ReadImageListInfo(list);
  FUZZ_CHECK(info && info->count == 1 && info->width == side && info->height == side);
  std::optional<RgbaImage> image = ImageListImage(list, 0);
  FUZZ_CHECK(image && image->width == side && image->height == side);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int side = 1 + data[0] % 48;
  const Bytes bytes(data + 1, data + size);
  if (std::optional<RgbaImage> picture = DecodePicture(bytes)) CheckShape(*picture);
  CheckIcon(bytes, side);
  CheckImageList(bytes);
  CheckAddedPicture(bytes, side);
  return 0;
}
