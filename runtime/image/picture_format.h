// Which of the picture formats we decode a file holds, told by its leading bytes, and whether
// the sizes its header states lie inside the file. A decoder trusts those sizes for what it
// allocates, so a damaged header is refused before any decoder sees it.
#pragma once

#include "runtime/core.h"

namespace kesto::image {

enum class PictureFormat { kUnknown, kJpeg, kGif, kBmp, kPng, kIcon };

// kUnknown also for a known format whose header does not fit the file.
PictureFormat SoundPictureFormat(const Bytes& file);

// Whether an icon's image at offset, size bytes long, lies inside the file and is a PNG or a
// bitmap whose header fits those bytes.
bool IconImageFits(const Bytes& file, std::size_t offset, std::size_t size);

}  // namespace kesto::image
