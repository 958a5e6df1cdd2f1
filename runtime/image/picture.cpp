// Picks the decoder for a picture by its leading bytes.
#include "runtime/image/picture.h"

namespace kesto::image {

namespace {
bool IsJpeg(const Bytes& file) {
  return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}
}  // namespace

std::optional<RgbaImage> DecodePicture(const Bytes& file) {
  if (file.empty()) return std::nullopt;
  return IsJpeg(file) ? DecodeJpeg(file) : DecodeOtherFormats(file);
}

}  // namespace kesto::image
