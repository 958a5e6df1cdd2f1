// Decoding and scaling with gdk-pixbuf: GIF, BMP, PNG, ICO and the other formats its loaders
// know.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstring>

#include "runtime/image/little_endian.h"
#include "runtime/image/picture.h"

namespace kesto::image {

namespace {
constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kSmallestBmpHeader = 12;
constexpr std::uint32_t kLargestBmpHeader = 124;

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

// gdk-pixbuf's BMP loader first allocates as much as the file says its header takes: a damaged
// header would ask for gigabytes. A header is at most 124 bytes and lies inside the file.
bool BelievableBmpHeader(const Bytes& file) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return true;
  if (file.size() < kBmpFileHeaderSize + 4) return false;
  std::uint32_t headerSize = ReadU32(file, kBmpFileHeaderSize);
  return headerSize >= kSmallestBmpHeader && headerSize <= kLargestBmpHeader &&
         headerSize <= file.size() - kBmpFileHeaderSize;
}

bool IsPlainRgb8(GdkPixbuf* pixbuf) {
  int channels = gdk_pixbuf_get_n_channels(pixbuf);
  return gdk_pixbuf_get_colorspace(pixbuf) == GDK_COLORSPACE_RGB &&
         gdk_pixbuf_get_bits_per_sample(pixbuf) == 8 && (channels == 3 || channels == 4);
}
}  // namespace

std::optional<RgbaImage> DecodeOtherFormats(const Bytes& file) {
  if (file.empty() || !BelievableBmpHeader(file)) return std::nullopt;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
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
