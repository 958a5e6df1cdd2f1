// Decoding and scaling with gdk-pixbuf: GIF, BMP, PNG and ICO, each by its own loader, so that
// none of gdk-pixbuf's other loaders ever reads a tile.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstring>

#include "runtime/image/gif_layout.h"
#include "runtime/image/picture.h"
#include "runtime/image/picture_format.h"

namespace kesto::image {

namespace {
RgbaImage FromPixbuf(GdkPixbuf* pixbuf) {
  RgbaImage out;
  out.width = gdk_pixbuf_get_width(pixbuf);
  out.height = gdk_pixbuf_get_height(pixbuf);
  int channels = gdk_pixbuf_get_n_channels(pixbuf);
  int stride = gdk_pixbuf_get_rowstride(pixbuf);
  const guint8* src = gdk_pixbuf_read_pixels(pixbuf);
  std::size_t rowBytes = std::size_t(out.width) * 4;
  out.pixels.resize(rowBytes * out.height);
  for (int y = 0; y < out.height; ++y) {
    const guint8* row = src + std::size_t(y) * stride;
    std::uint8_t* dst = out.Pixel(0, y);
    if (channels == 4) {
      std::memcpy(dst, row, rowBytes);
      continue;
    }
    for (int x = 0; x < out.width; ++x) {
      dst[x * 4 + 0] = row[x * 3 + 0];
      dst[x * 4 + 1] = row[x * 3 + 1];
      dst[x * 4 + 2] = row[x * 3 + 2];
      dst[x * 4 + 3] = 0xFF;
    }
  }
  return out;
}

// Refuses pictures too large to hold before gdk-pixbuf allocates them.
void OnSizePrepared(GdkPixbufLoader* loader, int width, int height, gpointer refused) {
  if (std::int64_t(width) * height > kMaxPicturePixels || width <= 0 || height <= 0) {
    *static_cast<bool*>(refused) = true;
    gdk_pixbuf_loader_set_size(loader, 1, 1);
  }
}

// gdk-pixbuf's loaders allocate what a header says before reading the rest (a damaged BMP
// header or icon directory would ask for gigabytes), so only sound headers reach them.
const char* LoaderFor(const Bytes& file) {
  switch (SoundPictureFormat(file)) {
    case PictureFormat::kGif:
      return "gif";
    case PictureFormat::kBmp:
      return "bmp";
    case PictureFormat::kPng:
      return "png";
    case PictureFormat::kIcon:
      return "ico";
    default:
      return nullptr;
  }
}

bool IsPlainRgb8(GdkPixbuf* pixbuf) {
  int channels = gdk_pixbuf_get_n_channels(pixbuf);
  return gdk_pixbuf_get_colorspace(pixbuf) == GDK_COLORSPACE_RGB &&
         gdk_pixbuf_get_bits_per_sample(pixbuf) == 8 && (channels == 3 || channels == 4);
}
}  // namespace

bool PictureDecodes(const Bytes& file) {
  if (IsGif(file)) return GifLayoutIsWhole(file);
  return DecodePicture(file).has_value();
}

std::optional<RgbaImage> DecodeOtherFormats(const Bytes& file) {
  const char* type = LoaderFor(file);
  GdkPixbufLoader* loader = type ? gdk_pixbuf_loader_new_with_type(type, nullptr) : nullptr;
  if (!loader) return std::nullopt;
  bool refused = false;
  g_signal_connect(loader, "size-prepared", G_CALLBACK(OnSizePrepared), &refused);
  GError* error = nullptr;
  bool ok = gdk_pixbuf_loader_write(loader, file.data(), file.size(), &error);
  // Close even after a failed write: the loader insists on it, and reports the error again.
  ok = gdk_pixbuf_loader_close(loader, ok ? &error : nullptr) && ok;
  if (error) g_error_free(error);
  std::optional<RgbaImage> out;
  GdkPixbuf* pixbuf = ok && !refused ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
  if (pixbuf && IsPlainRgb8(pixbuf)) out = FromPixbuf(pixbuf);
  g_object_unref(loader);
  return out;
}

std::optional<RgbaImage> ScaleImage(const RgbaImage& source, int width, int height) {
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return std::nullopt;
  if (std::int64_t(width) * height > kMaxPicturePixels) return std::nullopt;
  if (width == source.width && height == source.height) return source;
  GdkPixbuf* wrapped =
      gdk_pixbuf_new_from_data(source.pixels.data(), GDK_COLORSPACE_RGB, TRUE, 8, source.width,
                               source.height, source.width * 4, nullptr, nullptr);
  GdkPixbuf* scaled = gdk_pixbuf_scale_simple(wrapped, width, height, GDK_INTERP_BILINEAR);
  g_object_unref(wrapped);
  if (!scaled) return std::nullopt;
  RgbaImage out = FromPixbuf(scaled);
  g_object_unref(scaled);
  return out;
}

}  // namespace kesto::image
