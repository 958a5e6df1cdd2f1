// JPEG decoding with libjpeg. libjpeg reports fatal errors through a callback that must not
// return, so errors jump back to the decoder with longjmp; nothing with a destructor lives
// between the jump and its target.
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it

#include "runtime/image/picture.h"
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace kesto::image {

namespace {
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnFatalError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (a truncated file, say) are not worth a message; the decoded part is kept.
void OnMessage(j_common_ptr) {}

// Fills `out` from the decompressor; false when the image is refused or broken. Each row is
// read as RGB into the back of its RGBA row and spread forward in place, so no buffer of our own
// is left behind should libjpeg jump out.
//
// Once the data ends early or breaks (libjpeg warns), libjpeg makes up every row that is left:
// for a few hundred bytes claiming millions of pixels, seconds of work for a picture nobody
// sent. The band of rows being decoded then is kept; the rows after it stay white.
bool ReadPixels(jpeg_decompress_struct& info, RgbaImage& out) {
  std::int64_t pixels = std::int64_t(info.output_width) * info.output_height;
  if (pixels <= 0 || pixels > kMaxPicturePixels) return false;
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.pixels.assign(std::size_t(pixels) * 4, 0xFF);
  // A progressive file is read whole before the first row; only a warning from here cuts rows.
  const long warningsBefore = info.err->num_warnings;
  const JDIMENSION band = JDIMENSION(info.max_v_samp_factor) * DCTSIZE;
  while (info.output_scanline < info.output_height &&
         !(info.err->num_warnings > warningsBefore && info.output_scanline % band == 0)) {
    std::uint8_t* dst = out.Pixel(0, static_cast<int>(info.output_scanline));
    JSAMPROW rows[1] = {dst + out.width};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) return false;
    for (int x = 0; x < out.width; ++x) {
      const std::uint8_t* rgb = dst + out.width + x * 3;
      std::uint8_t r = rgb[0], g = rgb[1], b = rgb[2];
      dst[x * 4 + 0] = r;
      dst[x * 4 + 1] = g;
      dst[x * 4 + 2] = b;
      dst[x * 4 + 3] = 0xFF;
    }
  }
  return true;
}

// Decodes into `out`; returns false on any failure. Kept free of objects with destructors so
// that a longjmp from libjpeg skips none.
bool Decompress(const Bytes& file, RgbaImage& out) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnFatalError;
  errors.base.output_message = OnMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  bool ok = info.output_components == 3 && ReadPixels(info, out);
  // Finishing asks for every row; a broken file is kept as far as it went.
  if (ok && info.output_scanline == info.output_height) jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return ok;
}
}  // namespace

std::optional<RgbaImage> DecodeJpeg(const Bytes& file) {
  if (file.empty()) return std::nullopt;
  RgbaImage out;
  if (!Decompress(file, out)) return std::nullopt;
  return out;
}

}  // namespace kesto::image
