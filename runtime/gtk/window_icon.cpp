#include "runtime/gtk/window_icon.h"

#include "runtime/gtk/drawing.h"
#include "runtime/image/icon_file.h"

namespace kesto::gtk {

GList* IconPixbufs(const Bytes& icon) {
  GList* pixbufs = nullptr;
  for (const image::IconImage& image : image::DecodeIconImages(icon)) {
    if (GdkPixbuf* pixbuf = PixbufOf(image.image)) pixbufs = g_list_append(pixbufs, pixbuf);
  }
  return pixbufs;
}

GdkPixbuf* IconPixbuf(const Bytes& icon, int size) {
  if (std::optional<image::RgbaImage> image = image::PickIconImage(icon, size)) {
    if (GdkPixbuf* pixbuf = PixbufOf(*image)) return pixbuf;
  }
  if (GdkPixbuf* picture = DecodePixbuf(icon)) return picture;
  GdkPixbuf* empty = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, size, size);
  gdk_pixbuf_fill(empty, 0);
  return empty;
}

}  // namespace kesto::gtk
