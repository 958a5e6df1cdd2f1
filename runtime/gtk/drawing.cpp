#include "runtime/gtk/drawing.h"

#include <cstdio>

#include "runtime/posix/native_text.h"

namespace kesto::gtk {

namespace {

gboolean OnCrossing(GtkWidget* widget, GdkEventCrossing* crossing, bool* hovered) {
  if (crossing->detail == GDK_NOTIFY_INFERIOR) return FALSE;
  *hovered = crossing->type == GDK_ENTER_NOTIFY;
  gtk_widget_queue_draw(widget);
  return FALSE;
}

constexpr char kCjkFallback[] = "Microsoft YaHei,Noto Sans CJK SC,Noto Sans CJK,sans-serif";
// Windows draws controls without a font of their own at about 12 pixels.
constexpr int kDefaultFontPixels = 12;

void FreePixels(guchar* pixels, gpointer) {
  g_free(pixels);
}
}  // namespace

GdkPixbuf* PixbufOf(const image::RgbaImage& image) {
  if (image.width <= 0 || image.height <= 0) return nullptr;
  const std::size_t size = image.pixels.size();
  guchar* pixels = static_cast<guchar*>(g_memdup2(image.pixels.data(), size));
  return gdk_pixbuf_new_from_data(pixels, GDK_COLORSPACE_RGB, TRUE, 8, image.width, image.height,
                                  image.width * 4, FreePixels, nullptr);
}

GdkPixbuf* DecodePixbuf(const Bytes& picture) {
  std::optional<image::RgbaImage> decoded = image::DecodePicture(picture);
  return decoded ? PixbufOf(*decoded) : nullptr;
}

void PaintScaled(cairo_t* cr, GdkPixbuf* pixbuf, int width, int height) {
  if (!pixbuf || width <= 0 || height <= 0) return;
  const int pw = gdk_pixbuf_get_width(pixbuf), ph = gdk_pixbuf_get_height(pixbuf);
  cairo_save(cr);
  cairo_scale(cr, double(width) / pw, double(height) / ph);
  gdk_cairo_set_source_pixbuf(cr, pixbuf, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

void SetColour(cairo_t* cr, std::uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                       (rgb & 0xFF) / 255.0);
}

void PaintColour(cairo_t* cr, std::uint32_t rgb, int width, int height) {
  SetColour(cr, rgb);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_fill(cr);
}

std::string CssColour(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFF);
  return text;
}

std::string FontFamilies(const ui::Font& font) {
  const std::string face = posix::GbkToUtf8(font.face);
  return face.empty() ? std::string(kCjkFallback) : face + "," + kCjkFallback;
}

int FontPixels(const ui::Font& font) {
  return font.height > 0 ? font.height : kDefaultFontPixels;
}

std::string CssFont(const ui::Font& font) {
  std::string css = "font-family: ";
  // Style sheets want each family quoted.
  std::string families = FontFamilies(font);
  std::size_t start = 0;
  while (start <= families.size()) {
    std::size_t end = families.find(',', start);
    if (end == std::string::npos) end = families.size();
    css += (start ? ", \"" : "\"") + families.substr(start, end - start) + "\"";
    start = end + 1;
  }
  css += "; font-size: " + std::to_string(FontPixels(font)) +
         "px; font-weight: " + (font.bold ? "bold" : "normal") + ";";
  if (font.underline) css += " text-decoration-line: underline;";
  return css;
}

void AddCss(GtkWidget* widget, const std::string& css) {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

void PaintText(cairo_t* cr, GtkWidget* widget, const Text& text, const TextLook& look, int width,
               int height) {
  if (text.empty() || width <= 0 || height <= 0) return;
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, posix::GbkToUtf8(text).c_str());
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, FontFamilies(look.font).c_str());
  pango_font_description_set_absolute_size(font, FontPixels(look.font) * PANGO_SCALE);
  pango_font_description_set_weight(font, look.font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (look.font.underline) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  pango_layout_set_width(layout, width * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  int text_width = 0, text_height = 0;
  pango_layout_get_pixel_size(layout, &text_width, &text_height);
  if (look.xalign > 0) {
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    text_width = width;
  }
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_clip(cr);
  SetColour(cr, look.colour);
  cairo_move_to(cr, (width - text_width) * look.xalign, (height - text_height) / 2.0);
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
  g_object_unref(layout);
}

void TrackHover(GtkWidget* widget, bool* hovered) {
  gtk_widget_add_events(widget, GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
  g_signal_connect(widget, "enter-notify-event", G_CALLBACK(OnCrossing), hovered);
  g_signal_connect(widget, "leave-notify-event", G_CALLBACK(OnCrossing), hovered);
}

}  // namespace kesto::gtk
