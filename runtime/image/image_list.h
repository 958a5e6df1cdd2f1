// Reading image lists as ImageListCreate and ImageListAdd (runtime/ui.h) write them, for the back
// ends that show a list's pictures.
//
// Serialised form, all integers unsigned 32-bit little-endian:
//   "KIL1", cell width, cell height, image count,
//   then per image width x height RGBA pixels (straight alpha; alpha 0 where the transparent
//   colour was).
#pragma once

#include <optional>

#include "runtime/core.h"
#include "runtime/image/picture.h"

namespace kesto::image {

struct ImageListInfo {
  int width = 0;
  int height = 0;
  int count = 0;
};

// The header of a well-formed image list; nullopt for anything else.
std::optional<ImageListInfo> ReadImageListInfo(const Bytes& imageList);

// Image `index` (0-based) of the list; nullopt when the list is malformed or the index is out of
// range.
std::optional<RgbaImage> ImageListImage(const Bytes& imageList, int index);

}  // namespace kesto::image
