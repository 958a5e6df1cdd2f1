// Reading image lists as ImageListCreate and ImageListAdd (runtime/ui.h) write them, for the back
// ends that show a list's pictures.
//
// Serialised form, all integers unsigned 32-bit little-endian:
//   "KIL1", cell width, cell height, image count,
//   then per image: its transparent colour (red + green * 256 + blue * 65536, already resolved
//   from the top-left pixel where that was asked for), the length of the picture file, and the
//   picture file's bytes as they were added.
// Pictures stay in their file form, so that a list of many tiles stays small; a picture is
// decoded again when its pixels are asked for.
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

// Image `index` (0-based) of the list at the cell size, with alpha 0 where its transparent colour
// was; nullopt when the list is malformed or the index is out of range.
std::optional<RgbaImage> ImageListImage(const Bytes& imageList, int index);

}  // namespace kesto::image
