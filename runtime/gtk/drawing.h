// Pictures, colours, fonts and text as the controls draw them.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "runtime/image/picture.h"
#include "runtime/layout.h"

namespace kesto::gtk {

struct GObjectUnref {
  void operator()(gpointer object) const {
    if (object) g_object_unref(object);
  }
};
using Pixbuf = std::unique_ptr<GdkPixbuf, GObjectUnref>;

// A new pixbuf (caller unrefs) of the pixels, nullptr for an empty image.
GdkPixbuf* PixbufOf(const image::RgbaImage& image);
// The picture file's bytes decoded, nullptr when they do not decode.
GdkPixbuf* DecodePixbuf(const Bytes& picture);

// Keeps *hovered true while the pointer is over the widget, redrawing it on each change.
void TrackHover(GtkWidget* widget, bool* hovered);

// Paints the pixbuf scaled to fill width x height.
void PaintScaled(cairo_t* cr, GdkPixbuf* pixbuf, int width, int height);
void PaintColour(cairo_t* cr, std::uint32_t rgb, int width, int height);
void SetColour(cairo_t* cr, std::uint32_t rgb);

// "#RRGGBB" for style sheets.
std::string CssColour(std::uint32_t rgb);
// Faces fall back to a CJK face where the designed one (e.g. 微软雅黑) is not installed.
std::string FontFamilies(const ui::Font& font);
int FontPixels(const ui::Font& font);
// A "font: ...; " declaration for style sheets.
std::string CssFont(const ui::Font& font);
// Gives the widget its own style sheet on top of the theme.
void AddCss(GtkWidget* widget, const std::string& css);

struct TextLook {
  ui::Font font;
  std::uint32_t colour = 0x000000;
  double xalign = 0.0;  // 0 left, 0.5 centred
};
// Draws the text inside width x height, wrapped at the width, vertically centred, clipped to
// the area.
void PaintText(cairo_t* cr, GtkWidget* widget, const Text& text, const TextLook& look, int width,
               int height);

}  // namespace kesto::gtk
