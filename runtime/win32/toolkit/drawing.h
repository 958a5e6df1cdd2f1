// Pictures, colours, fonts and text as the drawn controls paint them with GDI.
#pragma once

#include <windows.h>

#include <memory>

#include "runtime/image/picture.h"
#include "runtime/layout.h"

namespace kesto::win32 {

// A decoded picture as a 32-bit bitmap with its alpha, ready for AlphaBlend.
class Bitmap {
 public:
  Bitmap() = default;
  explicit Bitmap(const image::RgbaImage& image);
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  bool IsEmpty() const { return !handle_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Paints the picture scaled into the rectangle, blending its transparent parts.
  void Paint(HDC dc, int x, int y, int width, int height) const;

 private:
  HBITMAP handle_ = nullptr;
  int width_ = 0, height_ = 0;
};

// The picture file's bytes decoded; an empty bitmap when they do not decode.
std::unique_ptr<Bitmap> DecodeBitmap(const Bytes& picture);

// A 32-bit DIB section of the pixels (premultiplied, as GDI blends them); caller deletes it.
HBITMAP DibOf(const image::RgbaImage& image);

// The icon of an icon file's image nearest `size`; nullptr when there is none. Caller destroys.
HICON IconOf(const Bytes& iconFile, int size);
// The icon of a picture; nullptr when it cannot be made. Caller destroys.
HICON IconOf(const image::RgbaImage& picture);

COLORREF ColourRefOf(std::uint32_t rgb);
// Whether a high-contrast theme is on: the controls then take the theme's colours for their
// texts and backgrounds instead of the layout's, which the seller could not read in it.
bool HighContrast();
// A layout's background colour filled in, or the theme's window colour in high contrast.
void FillColour(HDC dc, std::uint32_t rgb, int width, int height);

// The layout font, or the system's message font for the default one; caller deletes it. The
// layouts are pixels of a 96 dpi screen: where Windows reports a larger one without scaling the
// windows (the Windows XP style of scaling, Windows 7's choice at 125 %), the message font is
// taken at its 96 dpi size too, or its texts would outgrow the controls and be cut.
HFONT FontOf(const ui::Font& font);

struct TextLook {
  ui::Font font;
  std::uint32_t colour = 0x000000;
  bool centred = false;  // across; the text is always centred down the box
};
// The text wrapped at words inside width x height, transparent behind; in the theme's text
// colour in high contrast.
void PaintText(HDC dc, const Text& text, const TextLook& look, int width, int height);

}  // namespace kesto::win32
