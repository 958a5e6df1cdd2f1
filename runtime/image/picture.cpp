// Picks the decoder for a picture by its leading bytes.
#include "runtime/image/picture.h"

#include "runtime/image/picture_format.h"

namespace kesto::image {

std::optional<RgbaImage> DecodePicture(const Bytes& file) {
  switch (SoundPictureFormat(file)) {
    case PictureFormat::kUnknown:
      return std::nullopt;
    case PictureFormat::kJpeg:
      return DecodeJpeg(file);
    default:
      return DecodeOtherFormats(file);
  }
}

}  // namespace kesto::image
